// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class QTextBrowser;

// The page F1 opens from every window: what each tile does, drawn as the
// game draws it, the keys, the clock, the lives and the exit, and the
// editor's gestures. One page for the whole game: asking again brings the
// same one to the front. It takes the keyboard like any text, and Escape
// closes it.
class HowToPlay : public QWidget
{
    Q_OBJECT

public:
    HowToPlay();

    // Shows the page over the window the player asked from, which gets the
    // keyboard back when the page closes.
    void showOver(QWidget *window);

    QTextBrowser *text() const { return m_text; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The page itself, with the tiles' pictures put where it names them.
    void write();

    QTextBrowser *m_text = nullptr;
    QPointer<QWidget> m_openedOver;
    bool m_placed = false;
};
