#pragma once

#include <QWidget>

// The seven windows of the game, by role.
enum class FormId { MainMenu, PlayGame, StartLevel, About, GameScreen, LoadFiles, MapEditor };

// What a window may ask of the piece of code that owns the windows' lifecycle:
// each window exists at most once and is created, with its Form_Load, the
// first time anything shows or touches it. Windows reach each other only
// through this, so none of them needs to know how the others are made.
class FormHost
{
public:
    virtual ~FormHost() = default;

    // The window, created first if it is not loaded.
    virtual QWidget *form(FormId id) = 0;
    virtual bool isLoaded(FormId id) const = 0;

    // Creates the window if needed, shows it and brings it to the front.
    virtual void show(FormId id) = 0;
    // Hides a loaded window and keeps its state; does nothing otherwise.
    virtual void hide(FormId id) = 0;
    // Runs the window's Form_Unload and discards it unless that cancels.
    // Returns true when the window is gone (or was never loaded).
    virtual bool unload(FormId id) = 0;
    // Ends the game at once: every window closes and no Form_Unload runs.
    virtual void end() = 0;

    template<class T>
    T *get()
    {
        return static_cast<T *>(form(T::Id));
    }
};
