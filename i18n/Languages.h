#pragma once
// Language files: named messages for texts built at run time, and the
// translation of live windows by setting their published properties by name.
// The file is opened anew at each use, so a translator's edit shows at once and
// nothing of an old language lingers in memory.
#include <string>
#include <string_view>

namespace orvane {

class TComponent;

// The base name of the language file in use ("English" at start).
std::string CurrentLanguage();
void SetCurrentLanguage(const std::string& language);

// <program folder>\Languages\<current language>.lng
std::string LanguageFilePath();

// The text of `name` in [Messages]; the name itself when the file, the section
// or the key is missing.
std::string GetLangMessage(const std::string& name);
// The same with its first "%s" replaced by `argument` as plain text: a
// language file is never used as a printf format.
std::string GetLangMessage(const std::string& name, const std::string& argument);

// Takes the language from [General] Language of the configuration file
// ("English" when absent); with `apply`, translates every form at once.
void LoadLanguage(bool apply);

// The section a window reads: its name without the "_1".."_99" that a second
// and later live window of the same design carries.
std::string LanguageSectionName(std::string_view windowName);

// Applies the window's section to it and to the components it owns. Keys that
// cannot be applied are skipped silently; the others still take effect.
void TranslateForm(TComponent* window);

// Translates the forms owned by the application, in creation order.
void TranslateAllForms();

} // namespace orvane
