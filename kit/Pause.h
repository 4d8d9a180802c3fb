#pragma once

#include <QObject>

class Form;

// The game's pauses: the end-of-game display and the about screen's credits
// wait in small steps while every window keeps handling its events. While a
// pause runs, a window may be closed under the feet of the handler that
// paused, so windows are deleted only once no pause is running.
class Pause
{
public:
    // Waits the given seconds of elapsed time, letting events through and
    // sleeping while none are pending. Returns false as soon as the owner has
    // been unloaded: the caller then stops at once and touches nothing of it.
    static bool wait(double seconds, Form *owner);

    // Deletes the object when no pause or modal message is running, so that
    // no handler further up the stack is left running on a deleted window.
    static void disposeLater(QObject *object);

    // Marks a nested event loop (a modal message) for the rule above.
    class Scope
    {
    public:
        Scope();
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };
};
