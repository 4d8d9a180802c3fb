// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorDriver.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelTable.h"
#include "MessageLog.h"
#include "ScratchDir.h"
#include "VisibleWindows.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using namespace EditorDriver;

namespace {

// 20 lines: start at the top left, green, 45 seconds and sixteen rows whose
// first one leads over a banknote to the exit.
QByteArray twentyLineFile()
{
    return "0\r\n0\r\n65280\r\n45\r\n0304\r\n" + QByteArray("1111111111111111\r\n").repeated(15);
}

QStringList listed(const Load_Files *files)
{
    QStringList names;
    for (int i = 0; i < files->File1->count(); ++i)
        names.append(files->File1->item(i)->text());
    return names;
}

} // namespace

// The load-level screen: its list, the play of a chosen file in the custom
// slot, the files it refuses, and where closing it leads.
class TestLoadFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsLevelFilesInAnyLetterCase();
    void chosenFileIsPlayedAndItsExitBringsListBack();
    void unplayableFileIsRefused_data();
    void unplayableFileIsRefused();
    void unreadableFileShowsFileNotFound();
    void closingWithoutChoice_data();
    void closingWithoutChoice();
    void levelMadeInEditorIsPlayedToItsExit();
    void enterAndSpaceChooseAsADoubleClick_data();
    void enterAndSpaceChooseAsADoubleClick();
    void openTakesAFileFromAnywhere_data();
    void openTakesAFileFromAnywhere();

private:
    Load_Files *open();
    void walkToExit();

    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<MessageLog> m_log;
    std::unique_ptr<Forms> m_forms;
};

void TestLoadFiles::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_log = std::make_unique<MessageLog>();
    m_forms = std::make_unique<Forms>();
}

void TestLoadFiles::cleanup()
{
    m_forms.reset();
    m_log.reset();
    m_dir.reset();
}

Load_Files *TestLoadFiles::open()
{
    m_forms->show(FormId::LoadFiles);
    return m_forms->get<Load_Files>();
}

void TestLoadFiles::walkToExit()
{
    auto *screen = m_forms->get<Game_Screen>();
    for (int step = 0; step < 3; ++step)
        screen->Form_KeyDown(39, 0);
    // The finish is told on the play screen before the list comes back.
    QVERIFY(m_forms->isLoaded(FormId::GameScreen));
    QTRY_VERIFY_WITH_TIMEOUT(!m_forms->isLoaded(FormId::GameScreen), 10000);
    QVERIFY(!m_forms->isLoaded(FormId::PlayGame));
    QVERIFY(m_forms->get<Load_Files>()->isVisible());
}

// Hidden files are listed, so that a level saved as ".x" can be loaded, and
// so are names that are no valid UTF-8 (saved under another encoding), which
// open by their own bytes.
void TestLoadFiles::listsLevelFilesInAnyLetterCase()
{
    for (const char *name : {"small.lvl", "LOUD.LVL", "Mixed.Lvl", "notes.txt", "old.lvl.bak", ".hidden.lvl"})
        m_dir->write(name, twentyLineFile());
    QDir(m_dir->path()).mkdir("folder.lvl");
    const QByteArray latin1Name = "Caf\xe9.lvl";
    const int fd = ::open((QFile::encodeName(m_dir->path()) + '/' + latin1Name).constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    const QByteArray bytes = twentyLineFile();
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
    const QString shown = QFile::decodeName(latin1Name);
    QCOMPARE(listed(open()), (QStringList{".hidden.lvl", shown, "LOUD.LVL", "Mixed.Lvl", "small.lvl"}));
    QVERIFY(!m_forms->get<Load_Files>()->EmptyNote->isVisible());
    QVERIFY(choose(m_forms->get<Load_Files>(), shown));
    QCOMPARE(m_log->shown, QStringList{});
    QCOMPARE(m_forms->get<Game_Screen>()->Label5->text(), QStringLiteral("45"));
}

void TestLoadFiles::chosenFileIsPlayedAndItsExitBringsListBack()
{
    m_dir->write("Green.lvl", twentyLineFile());
    QVERIFY(choose(open(), "Green.lvl"));
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles));
    auto *screen = m_forms->get<Game_Screen>();
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->Label2->text(), QStringLiteral("File"));
    const LevelRecord &slot = screen->level(LevelTable::CustomSlot);
    QCOMPARE(slot.rows.size(), 17);
    QCOMPARE(slot.rows.last(), QString());
    QCOMPARE(screen->backColor(), QColor(0, 255, 0));
    QCOMPARE(screen->Label5->text(), QStringLiteral("45"));
    QCOMPARE(screen->Image1().size(), std::size_t(4 + 15 * 16));
    walkToExit();
    QCOMPARE(m_log->shown, QStringList{});
}

void TestLoadFiles::unplayableFileIsRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("four lines") << QByteArray("0\r\n0\r\n255\r\n30\r\n");
    QTest::newRow("rows without code") << QByteArray("0\r\n0\r\n255\r\n30\r\n\r\n\r\n");
    QTest::newRow("left not a number") << QByteArray("left\r\n0\r\n255\r\n30\r\n1111\r\n");
    QTest::newRow("top empty") << QByteArray("0\r\n\r\n255\r\n30\r\n1111\r\n");
    QTest::newRow("colour not a number") << QByteArray("0\r\n0\r\nred\r\n30\r\n1111\r\n");
    QTest::newRow("time not a number") << QByteArray("0\r\n0\r\n255\r\nlong\r\n1111\r\n");
}

void TestLoadFiles::unplayableFileIsRefused()
{
    QFETCH(QByteArray, file);
    m_dir->write("Bad.lvl", file);
    m_dir->write("Good.lvl", twentyLineFile());
    Load_Files *files = open();
    // A way is asked for only through a file that can be played.
    QSignalSpy way(files, &Load_Files::wayRequested);
    QTest::mouseClick(files->Command2, Qt::LeftButton);
    QTest::keyClick(files->File1, Qt::Key_Down);
    QTest::mouseClick(files->Command2, Qt::LeftButton);
    QCOMPARE(way.size(), 1);
    QCOMPARE(way.first().at(0).value<LevelRecord>().rows.value(0), QStringLiteral("0304"));
    // The way is played over the list, which a key brings back.
    const QPointer<Game_Screen> watching = qobject_cast<Game_Screen *>(m_forms->loaded(FormId::GameScreen));
    QVERIFY(watching && watching->isWatching() && !files->isVisible());
    QTest::keyClick(watching, Qt::Key_Escape);
    QTRY_VERIFY(!watching);
    QVERIFY(files->isVisible());
    QCOMPARE(m_log->shown.size(), 1);
    m_log->shown.clear();
    QVERIFY(choose(files, "Bad.lvl"));
    QCOMPARE(m_log->shown.size(), 1);
    QVERIFY(m_log->shown.first().startsWith("Error: "));
    QVERIFY(m_log->shown.first() != "Error: File Not Found");
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(files->isVisible());

    // The next choice does not read on from the refused file's lines.
    QVERIFY(choose(files, "Good.lvl"));
    QCOMPARE(m_forms->get<Game_Screen>()->level(LevelTable::CustomSlot).rows.value(0), QStringLiteral("0304"));
}

void TestLoadFiles::unreadableFileShowsFileNotFound()
{
    m_dir->write("Gone.lvl", twentyLineFile());
    Load_Files *files = open();
    QVERIFY(QFile::remove(m_dir->filePath("Gone.lvl")));
    QVERIFY(choose(files, "Gone.lvl"));
    QCOMPARE(m_log->shown, QStringList{"Error: File Not Found"});
    QVERIFY(files->isVisible());
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
}

void TestLoadFiles::closingWithoutChoice_data()
{
    QTest::addColumn<bool>("fromEditor");
    QTest::newRow("from the play menu") << false;
    QTest::newRow("from the editor") << true;
}

void TestLoadFiles::closingWithoutChoice()
{
    QFETCH(bool, fromEditor);
    if (fromEditor) {
        m_forms->show(FormId::MapEditor);
        QTest::mouseClick(m_forms->get<MapEditor>()->Command4, Qt::LeftButton);
    }
    // The folder is named, and the empty list says what to do.
    Load_Files *files = open();
    QCOMPARE(files->Folders->accessibleName(), "Levels in: " + QDir::toNativeSeparators(m_dir->path()));
    QVERIFY(files->Folders->fontMetrics().horizontalAdvance(files->Folders->text()) <= files->Folders->width());
    QVERIFY(files->EmptyNote->isVisible() && !files->File1->accessibleDescription().isEmpty());
    QVERIFY(!files->Command2->isEnabled());
    QVERIFY(files->close());
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles));
    QCOMPARE(m_forms->isLoaded(FormId::PlayGame), !fromEditor);
    QCOMPARE(m_forms->isLoaded(FormId::MapEditor), fromEditor);
}

void TestLoadFiles::levelMadeInEditorIsPlayedToItsExit()
{
    m_forms->show(FormId::MapEditor);
    auto *editor = m_forms->get<MapEditor>();
    for (const int code : {0, 3, 0, 4})
        clickTile(editor, code);
    editor->Text4->selectAll();
    QTest::keyClicks(editor->Text4, "Trip");
    QTest::mouseClick(editor->Command3, Qt::LeftButton);
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    QVERIFY(!m_forms->isLoaded(FormId::MapEditor));

    QVERIFY(choose(open(), "Trip.lvl"));
    QCOMPARE(m_forms->get<Game_Screen>()->Cash->text(), QStringLiteral("1"));
    walkToExit();
    QCOMPARE(listed(m_forms->get<Load_Files>()), QStringList{"Trip.lvl"});
}

void TestLoadFiles::enterAndSpaceChooseAsADoubleClick_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("second");
    QTest::addColumn<QString>("firstRow");
    QTest::newRow("Enter on the first file") << Qt::Key_Return << false << "0304";
    QTest::newRow("keypad Enter on the second") << Qt::Key_Enter << true << "0034";
    QTest::newRow("Space on the second") << Qt::Key_Space << true << "0034";
}

void TestLoadFiles::enterAndSpaceChooseAsADoubleClick()
{
    QFETCH(Qt::Key, key);
    QFETCH(bool, second);
    m_dir->write("A.lvl", twentyLineFile());
    m_dir->write("B.lvl", twentyLineFile().replace("0304", "0034"));
    Load_Files *files = open();
    if (second)
        QTest::keyClick(files->File1, Qt::Key_Down);
    QTest::keyClick(files->File1, key);
    auto *screen = m_forms->get<Game_Screen>();
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles) && screen->isVisible());
    QTEST(screen->level(LevelTable::CustomSlot).rows.value(0), "firstRow");
    QCOMPARE(m_log->shown, QStringList{});
}

void TestLoadFiles::openTakesAFileFromAnywhere_data()
{
    QTest::addColumn<QByteArray>("file"); // none: the dialog is closed
    QTest::addColumn<bool>("fromEditor");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("refused");

    QTest::newRow("to play") << twentyLineFile() << false << "Veltrano" << false;
    QTest::newRow("to the editor") << twentyLineFile() << true << "Veltrano - MAP EDITOR" << false;
    QTest::newRow("refused") << QByteArray("0\r\n0\r\nred\r\n30\r\n1111\r\n") << false << "Load Level from files"
                             << true;
    QTest::newRow("dialog closed") << QByteArray() << false << "Load Level from files" << false;
}

// A file picked in the dialog is loaded, or refused, as one from the list.
void TestLoadFiles::openTakesAFileFromAnywhere()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, fromEditor);
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath("Far away.LVL");
    QFile written(path);
    QVERIFY(written.open(QIODevice::WriteOnly) && written.write(file) == file.size());
    written.close();
    if (fromEditor) {
        m_forms->show(FormId::MapEditor);
        QTest::mouseClick(m_forms->get<MapEditor>()->Command4, Qt::LeftButton);
    }
    Load_Files *files = open();
    QString startedIn;
    files->setFileChooser([&](QWidget *parent, const QString &folder, const Load_Files::Chosen &chosen) {
        startedIn = folder;
        if (parent == files && !file.isEmpty())
            chosen(path);
    });
    QTest::mouseClick(files->Command1, Qt::LeftButton);
    QCOMPARE(startedIn, m_dir->path());
    QFETCH(QString, shown);
    QFETCH(bool, refused);
    QCOMPARE(visibleWindows(), QStringList{shown});
    QCOMPARE(m_log->shown.size(), refused ? 1 : 0);
    if (file.isEmpty() || refused)
        return;
    if (fromEditor)
        QCOMPARE(m_forms->get<MapEditor>()->Text1->toPlainText().section(u'\n', 0, 0), QStringLiteral("0304"));
    else
        QCOMPARE(m_forms->get<Game_Screen>()->level(LevelTable::CustomSlot).rows.value(0), QStringLiteral("0304"));
}

QTEST_MAIN(TestLoadFiles)
#include "tst_loadfiles.moc"
