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
struct FormIdOf;
template<>
struct FormIdOf<Main_Menu>
{
    static constexpr FormId value = FormId::MainMenu;
};
template<>
struct FormIdOf<Play_Game>
{
    static constexpr FormId value = FormId::PlayGame;
};
template<>
struct FormIdOf<Start_Level>
{
    static constexpr FormId value = FormId::StartLevel;
};
template<>
struct FormIdOf<About>
{
    static constexpr FormId value = FormId::About;
};
template<>
struct FormIdOf<Game_Screen>
{
    static constexpr FormId value = FormId::GameScreen;
};
template<>
struct FormIdOf<Load_Files>
{
    static constexpr FormId value = FormId::LoadFiles;
};
template<>
struct FormIdOf<MapEditor>
{
    static constexpr FormId value = FormId::MapEditor;
};
