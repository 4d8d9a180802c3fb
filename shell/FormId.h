// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class About;
class Game_Screen;
class Load_Files;
class Main_Menu;
class MapEditor;
class Play_Game;
class Start_Level;

// The seven windows of the game, by role.
enum class FormId { MainMenu, PlayGame, StartLevel, About, GameScreen, LoadFiles, MapEditor };

// The role of each window class, so that Forms::get<T>() finds its window.
template<class T>
constexpr FormId formIdOf = [] {
    static_assert(!sizeof(T *), "Forms::get<T>() takes one of the seven windows");
    return FormId::MainMenu;
}();
template<> constexpr FormId formIdOf<Main_Menu> = FormId::MainMenu;
template<> constexpr FormId formIdOf<Play_Game> = FormId::PlayGame;
template<> constexpr FormId formIdOf<Start_Level> = FormId::StartLevel;
template<> constexpr FormId formIdOf<About> = FormId::About;
template<> constexpr FormId formIdOf<Game_Screen> = FormId::GameScreen;
template<> constexpr FormId formIdOf<Load_Files> = FormId::LoadFiles;
template<> constexpr FormId formIdOf<MapEditor> = FormId::MapEditor;
