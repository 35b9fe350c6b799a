// The start panel's keyboard: Up, Down, Enter and Escape in its lists, and
// Ctrl+Esc or the Windows key from anywhere.
#include "startpanel/StartPanel.h"

#include "widgets/ListBox.h"

#include <algorithm>

namespace orvane {

void TfrmStart::ListKeyDown(TListBox& list, WORD& key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN: {
        // Moving through the entries only selects: the system list would
        // report each step as a click, which opens pop-ups.
        int count = list.Items().Count();
        if (count > 0) {
            int index = list.ItemIndex();
            index = key == VK_UP ? (index <= 0 ? 0 : index - 1)
                                 : (index < 0 ? 0 : std::min(index + 1, count - 1));
            list.SetItemIndex(index);
        }
        key = 0;
        break;
    }
    case VK_RETURN: {
        key = 0;
        // The key's character is queued already; a pop-up opened now would
        // take it as a choice of nothing and close at once.
        MSG pending;
        while (PeekMessageW(&pending, list.Handle(), WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD))
            if (pending.wParam != '\r')
                break;
        OpenEntry(list);
        break;
    }
    case VK_ESCAPE:
        key = 0;
        SlideOut();
        break;
    default:
        break;
    }
}

void TfrmStart::OpenEntry(TListBox& list) {
    int index = list.ItemIndex();
    if (index < 0)
        return;
    bool folder = reinterpret_cast<HICON>(list.Items().Object(index)) == folderIcon_.get();
    if (&list == lbPrograms) {
        if (folder)
            lbProgramsClick();
        else
            lbProgramsDblClick();
    } else if (&list == lbGroups) {
        lbGroupsClick();
    } else if (auto enter = entryEnters_.find(&list); enter != entryEnters_.end()) {
        enter->second();
    } else if (auto click = entryClicks_.find(&list); click != entryClicks_.end()) {
        click->second();
    }
}

// Ctrl+Esc or the Windows key: the start button's action; a panel coming in
// takes the keyboard, so the arrows and Enter work at once.
void TfrmStart::StartKey() {
    bool showing = Left() != 0;
    if (host_.StartButton)
        host_.StartButton();
    if (showing) {
        SetForegroundWindow(Handle());
        lbPrograms->SetFocus();
        if (lbPrograms->ItemIndex() < 0)
            lbPrograms->SetItemIndex(0);
    }
}

} // namespace orvane
