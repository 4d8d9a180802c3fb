#pragma once

#include "FormHost.h"

#include <QWidget>

// A window of the game: fixed size in twips, centred on the screen when it
// first opens, and closed only through Form_Unload, which may cancel.
class Form : public QWidget
{
    Q_OBJECT

public:
    enum class Frame {
        Tool,   // small title bar with only a close button
        Dialog, // fixed border without minimise or maximise buttons
    };

    Form(FormHost &host, FormId id, const QString &caption, int clientWidthTwips, int clientHeightTwips,
         Frame frame);

    FormId formId() const { return m_id; }

    // Runs when the window is created, before anything else uses it.
    virtual void Form_Load() {}

    // True once the window has been unloaded (or the game ended); it is then
    // hidden and deleted as soon as control returns to the event loop.
    bool isUnloaded() const { return m_unloaded; }

    // Marks the window gone without running Form_Unload: the game is ending.
    void discard();

signals:
    void unloaded();

protected:
    // Runs when the window is closed by the user or by the game; setting
    // cancel keeps the window open.
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel); }

    FormHost &host() const { return m_host; }

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    FormHost &m_host;
    const FormId m_id;
    bool m_unloaded = false;
    bool m_placed = false;
};
