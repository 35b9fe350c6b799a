#include "widgets/Edit.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "paint/Skin.h"

#include <algorithm>

namespace orvane {

UniqueFont CreateControlFont(const TFont& font) {
    LOGFONTW description;
    {
        WindowDc screen(nullptr);
        description = DescribeFont(font, screen.get());
    }
    UniqueFont created(CreateFontIndirectW(&description));
    if (!created)
        throw ShellError("CreateFontIndirect failed for \"" + font.Name + "\"");
    return created;
}

TFont FontFromSkin(const SkinFont& font) {
    TFont result;
    if (!font.name.empty())
        result.Name = font.name;
    result.Size = font.size;
    result.Color = font.color;
    result.Bold = font.bold;
    return result;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(RGB(255, 255, 255));
}

DWORD TCustomEdit::WindowStyle() const {
    return TControl::WindowStyle() | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT |
           (readOnly_ ? ES_READONLY : 0);
}

void TCustomEdit::HandleCreated() {
    ApplyFont();
    if (maxLength_ > 0)
        SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    // A text set before the window existed went in with CreateWindow; one the
    // window refused (too long for it) must not linger in Text.
    std::string shown = WindowText(Handle());
    if (shown != Text())
        SetCaption(shown);
}

void TCustomEdit::ApplyFont() {
    if (!HandleAllocated())
        return;
    UniqueFont font = CreateControlFont(EditFont());
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The window uses the new font from now on; the old one may go.
    font_ = std::move(font);
}

void TCustomEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

void TCustomEdit::SetMaxLength(int length) {
    maxLength_ = std::max(length, 0);
    if (HandleAllocated())
        SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

std::pair<DWORD, DWORD> TCustomEdit::WindowSelection() const {
    DWORD start = 0, end = 0;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    return {start, std::max(start, end)};
}

namespace {

// The window counts in UTF-16 units, Text() in UTF-8 bytes.
int BytesBefore(const std::wstring& text, DWORD units) {
    return static_cast<int>(Utf8(std::wstring_view(text).substr(0, units)).size());
}

DWORD UnitsBefore(const std::string& text, int bytes) {
    return static_cast<DWORD>(Wide(std::string_view(text).substr(0, std::max(bytes, 0))).size());
}

} // namespace

int TCustomEdit::SelStart() const {
    return BytesBefore(Wide(Text()), WindowSelection().first);
}

int TCustomEdit::SelLength() const {
    const std::wstring text = Wide(Text());
    const auto [start, end] = WindowSelection();
    return BytesBefore(text, end) - BytesBefore(text, start);
}

void TCustomEdit::SetSelection(int start, int length) {
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, UnitsBefore(Text(), start),
                     static_cast<LPARAM>(UnitsBefore(Text(), start + std::max(length, 0))));
}

void TCustomEdit::TypeCharacter(const std::wstring& units, LPARAM lParam) {
    // The system would take the first half of a pair that only half fits.
    if (units.size() > 1 && maxLength_ > 0 && HandleAllocated()) {
        const auto [start, end] = WindowSelection();
        const auto length = static_cast<DWORD>(GetWindowTextLengthW(Handle()));
        if (length - (end - start) + units.size() > static_cast<DWORD>(maxLength_))
            return;
    }
    TControl::TypeCharacter(units, lParam);
}

bool TCustomEdit::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        Change();
        result = 0;
        return true;
    }
    return false;
}

void TCustomEdit::Change() {
    // Typing reaches the window only; Text follows it here.
    std::string shown = WindowText(Handle());
    if (shown != Text())
        SetCaption(shown);
    if (OnChange)
        OnChange(*this);
}

void TCustomEdit::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(BoolProperty(
        "ReadOnly", [this] { return readOnly_; }, [this](bool v) { SetReadOnly(v); }));
    properties.push_back(IntegerProperty(
        "MaxLength", [this] { return maxLength_; },
        [this](int64_t v) { SetMaxLength(static_cast<int>(v)); }));
}

namespace {

const TSkinElement& EditElement() {
    return CurrentSkin().Element("edit");
}

// The border and a one pixel margin between it and the text.
int FrameWidth() {
    return std::max(EditElement().borderWidth, 0) + 1;
}

} // namespace

TSkinEdit::TSkinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetColor(EditElement().face.start);
}

TFont TSkinEdit::EditFont() const {
    return FontFromSkin(EditElement().font);
}

void TSkinEdit::PaintBorder() {
    HWND window = Handle();
    RECT bounds;
    GetWindowRect(window, &bounds);
    OffsetRect(&bounds, -bounds.left, -bounds.top);
    WindowDc dc(window, true);
    HDC windowDc = dc.get();
    if (!windowDc)
        return;
    const TSkinElement& element = EditElement();
    int border = std::max(element.borderWidth, 0);
    UniqueBrush borderBrush(CreateSolidBrush(element.border));
    UniqueBrush faceBrush(CreateSolidBrush(Color()));
    RECT ring = bounds;
    for (int i = 0; i < border; ++i) {
        FrameRect(windowDc, &ring, borderBrush.get());
        InflateRect(&ring, -1, -1);
    }
    FrameRect(windowDc, &ring, faceBrush.get());
}

LRESULT TSkinEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: {
        LRESULT result = TCustomEdit::WndProc(message, wParam, lParam);
        RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                              : *reinterpret_cast<RECT*>(lParam);
        int inset = FrameWidth();
        client.left = std::min(client.left + inset, client.right);
        client.top = std::min(client.top + inset, client.bottom);
        client.right = std::max(client.right - inset, client.left);
        client.bottom = std::max(client.bottom - inset, client.top);
        return result;
    }
    case WM_NCPAINT: {
        LRESULT result = TCustomEdit::WndProc(message, wParam, lParam);
        PaintBorder();
        return result;
    }
    case WM_ENABLE: {
        LRESULT result = TCustomEdit::WndProc(message, wParam, lParam);
        InvalidateRect(Handle(), nullptr, TRUE);
        return result;
    }
    default:
        break;
    }
    return TCustomEdit::WndProc(message, wParam, lParam);
}

bool TSkinEdit::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
        const TSkinElement& element = EditElement();
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (faceColor_ != Color() || !face_) {
            face_.reset(CreateSolidBrush(Color()));
            faceColor_ = Color();
        }
        SetTextColor(dc,
                     IsWindowEnabled(Handle()) ? element.font.color : element.disabledFontColor);
        SetBkColor(dc, Color());
        result = reinterpret_cast<LRESULT>(face_.get());
        return true;
    }
    return TCustomEdit::Reflected(message, wParam, lParam, result);
}

} // namespace orvane
