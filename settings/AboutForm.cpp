#include "settings/AboutForm.h"

#include "base/Guarded.h"
#include "base/Version.h"
#include "i18n/Languages.h"
#include "settings/AboutLogo.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/SkinBevel.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"

namespace orvane {

namespace {

constexpr COLORREF kNameColour = RGB(0x5F, 0x41, 0x32);

// The box's only button: Enter and Escape press it, as in any dialog.
class TAboutButton : public TSkinButton {
    ORVANE_COMPONENT(TAboutButton, TSkinButton)
  public:
    using TSkinButton::TSkinButton;
    bool AnswersDialogKey(WORD key) const override { return key == VK_RETURN || key == VK_ESCAPE; }
};

// Font sizes are in points; the box is laid out in pixels at 96 dots per inch.
int PointsForPixels(int pixels) {
    return (pixels * 72 + 48) / 96;
}

TLabel* PlaceLabel(TForm* form, const char* name, int x, int y, const char* face, int pixels,
                   bool bold) {
    auto* label = PlaceChild<TLabel>(form, form, name, x, y, 0, 0);
    label->SetTransparent(true);
    label->Font.Name = face;
    label->Font.Size = PointsForPixels(pixels);
    label->Font.Bold = bold;
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner, "frmAbout") {
    SetCaption("About...");
    SetSkinnedDialog();
    Font.Name = "MS Sans Serif";
    Font.Size = 8;
}

void TfrmAbout::FormCreate() {
    SetClientSize(269, 344);
    CreateControls();
    WireEvents();
    lbProgName->SetCaption("Orvane Shell");
    lbVer->SetCaption(ORVANE_VERSION_TEXT);
    TranslateForm(this);
}

void TfrmAbout::CreateControls() {
    plLogo = PlaceChild<TSkinPanel>(this, this, "plLogo", 11, 10, 36, 195);
    plLogo->SetBevelOuter(TPanelBevel::Lowered);
    Image1 = PlaceChild<TImage>(this, plLogo, "Image1", 1, 1, 34, 193);
    Image1->SetStretch(true);
    Image1->Picture().AdoptBitmap(PaintAboutLogo(34, 193).release());

    lbProgName = PlaceLabel(this, "lbProgName", 64, 6, "Courier New", 20, true);
    lbProgName->Font.Color = kNameColour;
    lbProgName->SetCaption("Orvane ---");
    lbVer = PlaceLabel(this, "lbVer", 64, 27, "Courier", 13, true);
    lbVer->SetCaption("Version -.-.-");

    Bevel1 = PlaceChild<TSkinBevel>(this, this, "Bevel1", 10, 214, 252, 2);
    Bevel1->SetShape(TSkinBevelShape::TopLine);

    lbLaws = PlaceLabel(this, "lbLaws", 6, 223, "Courier New", 9, false);
    lbLaws->SetAutoSize(false);
    lbLaws->SetWordWrap(true);
    lbLaws->SetBounds(6, 223, 257, 73);
    lbLaws->SetCaption("lbLaws");

    btnOK = PlaceChild<TAboutButton>(this, this, "btnOK", 181, 300, 75, 22);
    btnOK->SetCaption("OK");
}

void TfrmAbout::WireEvents() {
    btnOK->OnClick = [this](TComponent&) {
        Guarded("TfrmAbout.btnOKClick", FailurePolicy::LogAndContinue, [&] { btnOKClick(); });
    };
}

void TfrmAbout::btnOKClick() {
    Close();
}

} // namespace orvane
