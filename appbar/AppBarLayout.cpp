#include "appbar/AppBarLayout.h"

#include <algorithm>

namespace orvane {

namespace {

bool IsEdge(UINT edge) {
    return edge == kEdgeLeft || edge == kEdgeTop || edge == kEdgeRight || edge == kEdgeBottom;
}

// Takes a placed bar's room out of `area`: what lies between the bar and
// the edge it is docked to goes with it.
void Exclude(RECT& area, UINT edge, const RECT& place) {
    switch (edge) {
    case kEdgeLeft:
        area.left = std::max(area.left, place.right);
        break;
    case kEdgeTop:
        area.top = std::max(area.top, place.bottom);
        break;
    case kEdgeRight:
        area.right = std::min(area.right, place.left);
        break;
    case kEdgeBottom:
        area.bottom = std::min(area.bottom, place.top);
        break;
    default:
        break;
    }
    // Bars that together take more than the monitor leave an empty area,
    // never an inverted one.
    area.right = std::max(area.right, area.left);
    area.bottom = std::max(area.bottom, area.top);
}

} // namespace

bool TAppBarLayout::Add(HWND window, UINT callbackMessage) {
    if (Find(window))
        return false;
    bars_.push_back({window, callbackMessage, std::nullopt, kEdgeTop});
    return true;
}

bool TAppBarLayout::Remove(HWND window) {
    auto found = std::find_if(bars_.begin(), bars_.end(),
                              [&](const TAppBar& bar) { return bar.Window == window; });
    if (found == bars_.end())
        return false;
    bars_.erase(found);
    for (HWND& holder : autoHide_)
        if (holder == window)
            holder = nullptr;
    return true;
}

const TAppBar* TAppBarLayout::Find(HWND window) const {
    for (const TAppBar& bar : bars_)
        if (bar.Window == window)
            return &bar;
    return nullptr;
}

RECT TAppBarLayout::RoomBefore(size_t index, size_t monitor,
                               const std::vector<TMonitor>& monitors) const {
    RECT room = monitors[monitor].Bounds;
    for (size_t i = 0; i < std::min(index, bars_.size()); ++i) {
        const TAppBar& bar = bars_[i];
        if (bar.Place && MonitorOf(*bar.Place, monitors) == static_cast<int>(monitor))
            Exclude(room, bar.Edge, *bar.Place);
    }
    return room;
}

std::optional<RECT> TAppBarLayout::QueryPos(HWND window, UINT edge, const RECT& wanted,
                                            const std::vector<TMonitor>& monitors) const {
    if (!IsEdge(edge) || monitors.empty())
        return std::nullopt;
    size_t index = bars_.size();
    for (size_t i = 0; i < bars_.size(); ++i)
        if (bars_[i].Window == window)
            index = i;
    const RECT room = RoomBefore(index, static_cast<size_t>(MonitorOf(wanted, monitors)), monitors);
    // A thickness that is negative, or larger than the room, is cut to fit.
    const long width = std::clamp<long>(wanted.right - wanted.left, 0, room.right - room.left);
    const long height = std::clamp<long>(wanted.bottom - wanted.top, 0, room.bottom - room.top);
    RECT place = wanted;
    if (edge == kEdgeTop || edge == kEdgeBottom) {
        place.left = std::clamp(wanted.left, room.left, room.right);
        place.right = std::clamp(wanted.right, place.left, room.right);
        place.top = edge == kEdgeTop ? room.top : room.bottom - height;
        place.bottom = place.top + height;
    } else {
        place.top = std::clamp(wanted.top, room.top, room.bottom);
        place.bottom = std::clamp(wanted.bottom, place.top, room.bottom);
        place.left = edge == kEdgeLeft ? room.left : room.right - width;
        place.right = place.left + width;
    }
    return place;
}

std::optional<RECT> TAppBarLayout::SetPos(HWND window, UINT edge, const RECT& wanted,
                                          const std::vector<TMonitor>& monitors) {
    auto found = std::find_if(bars_.begin(), bars_.end(),
                              [&](const TAppBar& bar) { return bar.Window == window; });
    if (found == bars_.end())
        return std::nullopt;
    std::optional<RECT> place = QueryPos(window, edge, wanted, monitors);
    if (!place)
        return std::nullopt;
    found->Place = place;
    found->Edge = edge;
    return place;
}

RECT TAppBarLayout::WorkArea(size_t monitor, const std::vector<TMonitor>& monitors) const {
    if (monitor >= monitors.size())
        return {};
    return RoomBefore(bars_.size(), monitor, monitors);
}

HWND TAppBarLayout::AutoHideBar(UINT edge) const {
    return IsEdge(edge) ? autoHide_[edge] : nullptr;
}

bool TAppBarLayout::SetAutoHideBar(HWND window, UINT edge, bool on) {
    if (!IsEdge(edge) || !Find(window))
        return false;
    HWND& holder = autoHide_[edge];
    if (on) {
        if (holder && holder != window)
            return false;
        holder = window;
        return true;
    }
    if (holder != window)
        return false;
    holder = nullptr;
    return true;
}

} // namespace orvane
