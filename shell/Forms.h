#pragma once

#include "FormHost.h"

#include <QObject>
#include <QPointer>

#include <map>

class Form;

// Owns the lifecycle of the seven windows: each is created on first use,
// hidden windows keep their state, and an unloaded window is discarded so
// that its next use builds it afresh.
class Forms : public QObject, public FormHost
{
    Q_OBJECT

public:
    explicit Forms(QObject *parent = nullptr);
    ~Forms() override;

    // Opens the game: the main menu alone, with "Play Game" highlighted.
    void start();

    QWidget *form(FormId id) override;
    bool isLoaded(FormId id) const override;
    void show(FormId id) override;
    void hide(FormId id) override;
    bool unload(FormId id) override;
    void end() override;

    // The window if it is loaded, without creating it.
    Form *loaded(FormId id) const;

signals:
    // The game has ended; the application leaves its event loop.
    void ended();

private:
    Form *create(FormId id);

    std::map<FormId, QPointer<Form>> m_forms;
};
