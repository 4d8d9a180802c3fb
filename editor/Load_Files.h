// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"
#include "LevelRecord.h"

#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

// The load-level screen: lists the level files of the folders ProgramDir
// names and loads the one the player double-clicks, either into the play
// screen's custom slot (play mode) or into the editor's boxes (editor mode).
// Enter and Space in the list choose as a double-click does. It names the
// folders it lists, says what to do while the list is empty, and opens a
// level file from anywhere through the desktop's file dialog.
class Load_Files : public Form
{
    Q_OBJECT

public:
    Load_Files();

    void Form_Load() override;

    // Appends each line of the file to the list; shows "File Not Found" and
    // returns false when the file cannot be read or is no regular file. The
    // path is in the file system's own bytes, as the list keeps it.
    bool LoadList(QStringList &list, const QByteArray &path);

    // Loads the file chosen in the list, as a double-click does.
    void File1_DblClick();
    // Asks for a level file anywhere and loads it as one from the list.
    void Command1_Click();
    // Asks to be shown a way through the highlighted file's level.
    void Command2_Click();

    // Asks the player for a level file, starting in a folder, and hands the
    // path to chosen once the player has picked one; never, when the player
    // thinks better of it. The desktop's file dialog until another is given:
    // it waits over this window without holding up the rest of the game.
    using Chosen = std::function<void(const QString &path)>;
    using FileChooser = std::function<void(QWidget *parent, const QString &folder, const Chosen &chosen)>;
    void setFileChooser(FileChooser chooser);

    // True until a file has been taken: closing the window then goes back to
    // the play menu (in play mode).
    bool BackToMenu() const { return m_backToMenu; }
    // The lines of the last file read.
    const QStringList &List1() const { return m_list1; }

    QLabel *Label1 = nullptr;
    QListWidget *File1 = nullptr; // the level files, bare names; each item's PathRole holds its path in the file system's bytes
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;     // the mode: "0" play, "1" editor
    QLabel *Folders = nullptr;    // "Levels in: ", the folders listed
    QLabel *EmptyNote = nullptr;  // over the list while it holds no file
    QPushButton *Command1 = nullptr; // "Open…"
    QPushButton *Command2 = nullptr; // "Show me a way"

    // True while a chosen file goes to the play screen, not to the editor.
    bool isPlayMode() const;
    // From now on a chosen file goes to the editor.
    void setEditorMode();

signals:
    // The player chose a playable level file in play mode, by its name.
    void playChosen(const LevelRecord &level, const QString &fileName);
    // The player chose a level file in editor mode: its lines as read.
    void editChosen(const QStringList &lines);
    // The player asks to be shown a way through a playable level file.
    void wayRequested(const LevelRecord &level);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static constexpr int PathRole = Qt::UserRole;

    // Loads a level file, from the list or from anywhere, into the play
    // screen or the editor as the mode says.
    void choose(const QByteArray &path, const QString &name);
    // The folder line and the note over an empty list, as the list stands.
    void describeFolders();
    // "Show me a way" is there for a highlighted file to play.
    void updateButtons();

    QStringList m_list1;
    bool m_backToMenu = true;
    FileChooser m_chooseFile;
};
