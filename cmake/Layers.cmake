# The layers of the program and what each folder may include (besides itself).
# Read by cmake/LayerCheck.cmake, which ctest runs as layer_check; the same
# rules in prose are in docs/ARCHITECTURE.md. Keep the two together.
#
# Lower layers first. A folder may include only the folders named after it.
# The feature folders (tray, files, desktop, settings, startpanel, taskbar, appbar)
# include none of each other: app/ makes them and wires them together.
set(ORVANE_LAYER_RULES
  "base:"
  "system:base"
  "skinfile:"
  "paint:skinfile base"
  "toolkit:paint skinfile base"
  "widgets:toolkit paint skinfile base"
  "i18n:widgets toolkit paint skinfile base"
  "tray:i18n widgets toolkit paint skinfile system base"
  "files:i18n widgets toolkit paint skinfile system base"
  "desktop:i18n widgets toolkit paint skinfile system base"
  "settings:i18n widgets toolkit paint skinfile system base"
  "startpanel:i18n widgets toolkit paint skinfile system base"
  "taskbar:i18n widgets toolkit paint skinfile system base winwatch"
  "appbar:i18n widgets toolkit paint skinfile system base"
  "app:appbar taskbar startpanel settings files desktop tray i18n widgets toolkit paint skinfile system base winwatch packaging"
  # The shell hook library, a DLL of its own: its version resource reads the
  # version numbers (macros of the generated base/Version.h) through the
  # shared resource script.
  "winwatch:packaging"
  "packaging:base")

# Folders whose code must build without the Windows headers (the skin
# compiler builds them for the build machine).
set(ORVANE_PORTABLE_LAYERS skinfile)

# Top-level folders that hold no product code: not checked, and product code
# may not include from them.
set(ORVANE_OTHER_FOLDERS tests bench build cmake content docs scripts)
