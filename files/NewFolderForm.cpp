#include "files/NewFolderForm.h"

#include "base/Guarded.h"
#include "i18n/Languages.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/SkinButton.h"

namespace orvane {

namespace {

constexpr int kClientWidth = 253;
constexpr int kClientHeight = 95;
constexpr COLORREF kPromptColor = RGB(0, 128, 0);

} // namespace

TfrmNewFolder::TfrmNewFolder(TComponent* owner, std::string designedName)
    : TForm(owner, std::move(designedName)) {
    SetCaption("Orvane Shell - File maneger");
    SetSkinnedDialog();
    Font.Name = "MS Sans Serif";
    Font.Size = 8;
}

void TfrmNewFolder::FormCreate() {
    SetClientSize(kClientWidth, kClientHeight);
    CreateControls();
    WireEvents();
    Guarded("TfrmNewFolder.FormCreate", FailurePolicy::LogAndContinue,
            [&] { TranslateForm(this); });
}

void TfrmNewFolder::CreateControls() {
    lbNewFolder = NewComponent<TLabel>(this);
    lbNewFolder->SetName("lbNewFolder");
    lbNewFolder->SetParent(this);
    lbNewFolder->Font = Font;
    lbNewFolder->Font.Color = kPromptColor;
    lbNewFolder->SetTransparent(true);
    lbNewFolder->SetCaption("-----");
    lbNewFolder->SetBounds(8, 10, 237, 14);

    edFolderName = NewComponent<TSkinEdit>(this);
    edFolderName->SetName("edFolderName");
    edFolderName->SetParent(this);
    edFolderName->SetBounds(8, 28, 237, 21);

    Button1 = NewComponent<TSkinButton>(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetSkinElement("button");
    Button1->SetCaption("OK");
    Button1->ModalResult = mrOk;
    Button1->SetBounds(89, 62, 75, 25);

    btnCancel = NewComponent<TSkinButton>(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetParent(this);
    btnCancel->SetSkinElement("button");
    btnCancel->SetCaption("Cancel");
    btnCancel->ModalResult = mrCancel;
    btnCancel->SetBounds(170, 62, 75, 25);
}

void TfrmNewFolder::WireEvents() {
    // Enter and Escape answer the dialog from the edit box, where the
    // typing happens.
    edFolderName->OnKeyDown = [this](TComponent&, WORD& key, TShiftState) {
        if (key == VK_RETURN || key == VK_ESCAPE) {
            SetModalResult(key == VK_RETURN ? mrOk : mrCancel);
            key = 0;
        }
    };
    OnShow = [this](TComponent&) {
        if (edFolderName->HandleAllocated())
            edFolderName->SetFocus();
    };
}

} // namespace orvane
