// The start panel's keyboard: Up, Down, Enter and Escape in its lists, Tab
// between the sections, and Ctrl+Esc, the Windows key or Win+R from anywhere.
#include "startpanel/StartPanel.h"

#include "widgets/ComboBox.h"
#include "widgets/ListBox.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"

#include <algorithm>

namespace orvane {

namespace {

// Takes the character of the key being handled out of the queue: the
// keyboard's next owner, or a pop-up menu about to open, would take it.
void DropQueuedCharacter(HWND window, wchar_t character) {
    MSG pending;
    while (PeekMessageW(&pending, window, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD))
        if (pending.wParam != character)
            break;
}

} // namespace

void TfrmStart::ListKeyDown(TListBox& list, WORD& key, bool shift) {
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: {
        // Moving through the entries only selects (and scrolls a list longer
        // than its section): the system list would report each step as a
        // click, which opens pop-ups.
        const int count = list.Items().Count();
        if (count > 0) {
            const int page = std::max(1, list.ClientHeight() / std::max(1, list.ItemHeight()));
            const int index = list.ItemIndex();
            int next = index;
            switch (key) {
            case VK_UP:
                next = index - 1;
                break;
            case VK_DOWN:
                next = index < 0 ? 0 : index + 1;
                break;
            case VK_PRIOR:
                next = index - page;
                break;
            case VK_NEXT:
                next = index < 0 ? page - 1 : index + page;
                break;
            case VK_HOME:
                next = 0;
                break;
            default:
                next = count - 1;
                break;
            }
            list.SetItemIndex(std::clamp(next, 0, count - 1));
        }
        key = 0;
        break;
    }
    case VK_TAB:
        key = 0;
        DropQueuedCharacter(list.Handle(), L'\t');
        FocusNextSection(&list, !shift);
        break;
    case VK_RETURN: {
        key = 0;
        // The key's character is queued already; a pop-up opened now would
        // take it as a choice of nothing and close at once.
        DropQueuedCharacter(list.Handle(), L'\r');
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

void TfrmStart::FocusList(TListBox* list) {
    if (GetForegroundWindow() != Handle())
        SetForegroundWindow(Handle());
    list->SetFocus();
    if (list->ItemIndex() < 0)
        list->SetItemIndex(0);
}

void TfrmStart::FocusNextSection(TControl* from, bool forward) {
    // The lists in their sections' order, then the run box; a folded section
    // or an empty list is passed over.
    std::vector<TControl*> stops;
    for (const Section& section : sections_) {
        if (collapsed_.contains(section.panel))
            continue;
        for (TListBox* list : lists_)
            if (list->Parent() == section.panel && list->Items().Count() > 0)
                stops.push_back(list);
        if (section.panel == plRun && cbRun && cbRun->Visible())
            stops.push_back(cbRun);
    }
    if (stops.empty())
        return;
    auto at = std::find(stops.begin(), stops.end(), from);
    const int count = static_cast<int>(stops.size());
    int index = at == stops.end() ? (forward ? -1 : count) : static_cast<int>(at - stops.begin());
    index = ((forward ? index + 1 : index - 1) % count + count) % count;
    TControl* next = stops[static_cast<size_t>(index)];
    if (next == cbRun)
        cbRun->SetFocus();
    else
        FocusList(static_cast<TListBox*>(next));
}

// Win+R: the panel comes in (or stays) and the run box takes the keyboard with
// its line selected, ready to be typed over or run.
void TfrmStart::RunKey() {
    // Through the start button while the panel is out (the bar's part of a
    // showing); never back out when it is fully in.
    if (Left() != 0 && host_.StartButton)
        host_.StartButton();
    else if (Left() != 0 || slide_ == TSlide::Out)
        SlideIn();
    if (collapsed_.contains(plRun))
        for (const Section& section : sections_)
            if (section.panel == plRun)
                sbProgramsClick(*section.toggle);
    SetForegroundWindow(Handle());
    cbRun->SetFocus();
    if (HWND edit = cbRun->EditHandle())
        SendMessageW(edit, EM_SETSEL, 0, -1);
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
