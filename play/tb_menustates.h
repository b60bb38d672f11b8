#pragma once
// Which menu items each game state and the editor show and hide: the state
// work of the adapter (TUi) reads this table. Items whose showing depends on
// more than the state (Edit mode, Kill level solution, the editor's level
// commands) are decided where that knowledge is.

#include "engine/tb_types.h"
#include "services/d_menu.h"

#include <array>
#include <span>

namespace tb {

struct TMenuStateRule {
    TState State;
    std::span<const int> Show; // shown on entering the state
    std::span<const int> Hide; // hidden on entering it (after the shown ones)
};

namespace menustates {
inline constexpr std::array<int, 1> NoneShow = {TagNew};
inline constexpr std::array<int, 7> NoneHide = {TagSave, TagExport,   TagDelete,  TagGiveUp,
                                                TagShow, TagPlayMode, TagEditMode};
inline constexpr std::array<int, 3> ReadyShow = {TagDelete, TagExport, TagShow};
inline constexpr std::array<int, 4> ReadyHide = {TagTake, TagGiveUp, TagSave, TagPlayBack};
inline constexpr std::array<int, 3> PlayShow = {TagGiveUp, TagTake, TagPlayBack};
inline constexpr std::array<int, 2> DoneHide = {TagGiveUp, TagTake};
} // namespace menustates

inline constexpr std::array<TMenuStateRule, 5> MenuStateRules = {{
    {TState::None, menustates::NoneShow, menustates::NoneHide},
    {TState::Ready, menustates::ReadyShow, menustates::ReadyHide},
    {TState::Play, menustates::PlayShow, {}},
    {TState::Replay, {}, {}},
    {TState::Done, {}, menustates::DoneHide},
}};

// The items the editor shows (and play mode hides), and those it hides.
inline constexpr std::array<int, 2> EditorShows = {TagPlayMode, TagSave};
inline constexpr std::array<int, 5> EditorHides = {TagEditMode, TagExport, TagExportBest,
                                                   TagDeletePlayer, TagNewPlayer};

} // namespace tb
