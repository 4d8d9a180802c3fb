// SPDX-License-Identifier: GPL-3.0-or-later
#include "AsNobody.h"
#include "BestResults.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelTable.h"
#include "Load_Files.h"
#include "MapEditor.h"
#include "MessageBox.h"
#include "PlayCover.h"
#include "ProgramDir.h"
#include "ProgressFile.h"
#include "RegularFile.h"
#include "ScratchDir.h"
#include "Start_Level.h"
#include "VirtualKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <functional>
#include <fcntl.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray SmallLevel = "480\r\n480\r\n0\r\n30\r\n1111\r\n1031\r\n1041\r\n1111\r\n";

// Where the program directory cannot be written, whoever runs the tests.
// Permission bits stop nobody running as root, so that case runs as the
// ordinary user nobody there; the immutable flag stops root too, where the
// file system and the privileges allow it to be set.
enum class Unwritable { UnderAFile, Proc, ReadOnlyBits, Immutable };

const char *skipReason(Unwritable kind)
{
    return kind == Unwritable::Immutable
               ? "The immutable flag cannot be set here: no privilege for it, or a file system without it"
               : "Running as root and unable to become nobody, so the bits stop nothing here";
}

bool setImmutable(const QString &directory, bool immutable)
{
    const int fd = open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
}

// What may stand under a file's name in the game's folder instead of a file.
enum class Special { Fifo, LinkToFifo, DanglingLink, LinkOutside, DeviceLink };
// Who meets it: the three readers and the three writers.
enum class Use { PlayList, EditorList, ProgressRead, LevelCheck, LevelSave, ProgressWrite, BestWrite };

bool hasType(const QString &path, mode_t type)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

} // namespace

// What the game does when the disk or the program directory lets it down:
// a clear message or a sound default, never a lost file, never a crash.
class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gameGoesOnWhenProgressCannotBeWritten_data();
    void gameGoesOnWhenProgressCannotBeWritten();
    void saveIntoAnUnwritableDirectoryReportsAnError_data();
    void saveIntoAnUnwritableDirectoryReportsAnError();
    void unusableDirectoryListsNoLevels_data();
    void unusableDirectoryListsNoLevels();
    void readOnlyDirectorySendsWritesToTheDataFolder_data();
    void readOnlyDirectorySendsWritesToTheDataFolder();
    void writableDirectoryKeepsFilesBesideTheGame();
    void dataFolderNeedsAnAbsoluteHome_data();
    void dataFolderNeedsAnAbsoluteHome();
    void levelFileThatVanishedIsNotFound();
    void levelFileTurnedDirectoryIsNotFound();
    void directoryNamedLikeALevelFileIsNotListed();
    void saveOverADirectoryNamedLikeTheLevelFails();
    void progressFileThatIsADirectoryReadsAsLevelOne();
    void hugeSparseLevelFileIsReadInBounds_data();
    void hugeSparseLevelFileIsReadInBounds();
    void hugeSparseLevelFileLoadsIntoTheEditorInBounds();
    void fullDiskDuringSaveKeepsTheOldFile();
    void fullDiskKeepsTheOldProgress();
    void readOnlyProgressFileIsStillRead();
    void progressIsWrittenInPlaceWhereOnlyTheFolderRefuses_data();
    void progressIsWrittenInPlaceWhereOnlyTheFolderRefuses();
    void specialFilesAreNeitherOpenedNorWrittenThrough_data();
    void specialFilesAreNeitherOpenedNorWrittenThrough();

private:
    // A place that cannot be written, holding the given files; empty when
    // this run cannot make one (the test then skips with the reason).
    QString unwritableDirectory(Unwritable kind, const QMap<QString, QByteArray> &files = {});
    // Runs a piece of the game in a child process whose files may not grow
    // past the limit, as on a full disk; true when the child ran to its end
    // and its check held.
    static bool inFullDisk(rlim_t bytes, const std::function<bool()> &body);

    QStringList shownMessages() const;

    std::unique_ptr<ScratchDir> m_dir;
    QString m_locked; // the directory made unwritable, to be unlocked again
    std::unique_ptr<AsNobody> m_user;
    std::unique_ptr<Forms> m_forms;
    QList<MessageBox::Request> m_messages;
};

void TestFaults::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
    m_messages.clear();
    MessageBox::setResponder([this](const MessageBox::Request &request) {
        m_messages.append(request);
        return request.buttons == MessageBox::Buttons::Ok ? MessageBox::Answer::Ok : MessageBox::Answer::Yes;
    });
}

void TestFaults::cleanup()
{
    MessageBox::setResponder({});
    m_forms.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_user.reset();
    // The scratch directory can only be removed once it may change again.
    if (!m_locked.isEmpty()) {
        setImmutable(m_locked, false);
        QFile::setPermissions(std::exchange(m_locked, QString()),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    m_dir.reset();
}

QStringList TestFaults::shownMessages() const
{
    QStringList shown;
    for (const MessageBox::Request &request : m_messages)
        shown.append(request.title + QStringLiteral(": ") + request.text);
    return shown;
}

QString TestFaults::unwritableDirectory(Unwritable kind, const QMap<QString, QByteArray> &files)
{
    const QString path = m_dir->filePath(QStringLiteral("game"));
    if (kind == Unwritable::ReadOnlyBits || kind == Unwritable::Immutable) {
        QDir().mkpath(path);
        for (auto file = files.cbegin(); file != files.cend(); ++file)
            m_dir->write(QStringLiteral("game/") + file.key(), file.value());
    }
    switch (kind) {
    case Unwritable::UnderAFile:
        // A directory path that runs through a plain file: nothing can be
        // created below it, not even by root.
        m_dir->write(QStringLiteral("plain"), "not a directory");
        return m_dir->filePath(QStringLiteral("plain/game"));
    case Unwritable::Proc:
        return QStringLiteral("/proc/self");
    case Unwritable::Immutable:
        if (!setImmutable(path, true))
            return {};
        m_locked = path;
        return path;
    case Unwritable::ReadOnlyBits: {
        AsNobody::openUp(m_dir->path());
        // The player's own data folder is theirs to make.
        AsNobody::openUp(QFile::decodeName(qgetenv("XDG_DATA_HOME")), AsNobody::Write);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                        | QFileDevice::ExeOther);
        m_locked = path;
        // The rest of the test is the player's, who may not write here.
        m_user = std::make_unique<AsNobody>();
        QFile probe(path + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return {};
        }
        return path;
    }
    }
    return {};
}

void TestFaults::gameGoesOnWhenProgressCannotBeWritten_data()
{
    QTest::addColumn<Unwritable>("kind");
    QTest::newRow("directory under a file") << Unwritable::UnderAFile;
    QTest::newRow("/proc") << Unwritable::Proc;
    QTest::newRow("read-only permission bits") << Unwritable::ReadOnlyBits;
    QTest::newRow("immutable directory") << Unwritable::Immutable;
}

void TestFaults::gameGoesOnWhenProgressCannotBeWritten()
{
    QFETCH(Unwritable, kind);
    const QString directory = unwritableDirectory(kind);
    if (directory.isEmpty())
        QSKIP(skipReason(kind));
    ProgramDir::setPath(directory);
    // Nor can the player's data folder be made there.
    ScratchDir::setDataHome(directory);

    // The progress cannot be kept, but the level is still built and played.
    auto *screen = m_forms->get<Game_Screen>();
    screen->Label2->setText(QStringLiteral("2"));
    screen->loadscreen(1);
    QCOMPARE(screen->Cash->text(), QStringLiteral("32"));
    QCOMPARE(screen->Label5->text(), QStringLiteral("30"));
    QVERIFY(!ProgressFile::record(1));
    QCOMPARE(ProgressFile::readSlot(), 0.0);
    QVERIFY(m_messages.isEmpty());

    // Nor is a best: the banner does not claim one.
    screen->setCustomLevel({QStringLiteral("Custom"), QStringLiteral("30"), 0, QStringLiteral("480"),
                            QStringLiteral("480"), {QStringLiteral("040"), QStringLiteral("404")}});
    screen->Label2->setText(QStringLiteral("7"));
    screen->loadscreen(LevelTable::CustomSlot);
    screen->Form_KeyDown(VirtualKey::Right, 0);
    QCOMPARE(screen->cover()->banner().section(u'\n', 2), QStringLiteral("Your best, but it could not be saved"));
    QVERIFY(BestResults::read().empty());
    QVERIFY(m_messages.isEmpty());

    // The level selection falls back to the first level.
    auto *selection = m_forms->get<Start_Level>();
    QVERIFY(selection->Label1.at(0)->isEnabled());
    QVERIFY(!selection->Label1.at(1)->isEnabled());
}

void TestFaults::saveIntoAnUnwritableDirectoryReportsAnError_data()
{
    gameGoesOnWhenProgressCannotBeWritten_data();
}

void TestFaults::saveIntoAnUnwritableDirectoryReportsAnError()
{
    QFETCH(Unwritable, kind);
    const QString directory = unwritableDirectory(kind);
    if (directory.isEmpty())
        QSKIP(skipReason(kind));
    ProgramDir::setPath(directory);
    // Nor can the player's data folder be made there.
    ScratchDir::setDataHome(directory);

    auto *editor = m_forms->get<MapEditor>();
    editor->Text1->setPlainText(QStringLiteral("1111\n1041\n1111"));
    editor->Command3_Click();
    QCOMPARE(shownMessages(), QStringList{QStringLiteral("Error: There has been a error!")});
    QVERIFY(!QFile::exists(ProgramDir::filePath(QStringLiteral("Level.lvl"))));
}

void TestFaults::unusableDirectoryListsNoLevels_data()
{
    gameGoesOnWhenProgressCannotBeWritten_data();
}

void TestFaults::unusableDirectoryListsNoLevels()
{
    QFETCH(Unwritable, kind);
    const QString directory = unwritableDirectory(kind);
    if (directory.isEmpty())
        QSKIP(skipReason(kind));
    ProgramDir::setPath(directory);
    // Nor can the player's data folder be made there.
    ScratchDir::setDataHome(directory);

    m_forms->show(FormId::LoadFiles);
    auto *files = m_forms->get<Load_Files>();
    QCOMPARE(files->File1->count(), 0);
    // Closing is the way out, back to the play menu.
    files->close();
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles));
    QVERIFY(m_forms->loaded(FormId::PlayGame)->isVisible());
}

void TestFaults::readOnlyDirectorySendsWritesToTheDataFolder_data()
{
    QTest::addColumn<Unwritable>("kind");
    QTest::newRow("read-only permission bits") << Unwritable::ReadOnlyBits;
    QTest::newRow("immutable directory") << Unwritable::Immutable;
}

// An installed game: the program directory holds a level and a progress file
// an administrator put there, and the player keeps their own in the data
// folder, which the first use creates.
void TestFaults::readOnlyDirectorySendsWritesToTheDataFolder()
{
    QFETCH(Unwritable, kind);
    const QByteArray progress = ProgressFile::content(3);
    const QByteArray sharedLevel = "480\r\n480\r\n0\r\n30\r\n11111\r\n10331\r\n10041\r\n11111\r\n";
    const QString directory = unwritableDirectory(kind, {{QStringLiteral("Level.lvl"), SmallLevel},
                                                         {QStringLiteral("A-shared.lvl"), sharedLevel},
                                                         {QStringLiteral("LGT.Log"), progress}});
    if (directory.isEmpty())
        QSKIP(skipReason(kind));
    ProgramDir::setPath(directory);
    const QDir data(ScratchDir::dataFolder());
    QVERIFY(!data.exists());

    // The progress is the player's, starting from nothing.
    auto *screen = m_forms->get<Game_Screen>();
    screen->Label2->setText(QStringLiteral("6"));
    screen->loadscreen(5);
    QCOMPARE(screen->Cash->text(), QStringLiteral("30"));
    QCOMPARE(ProgressFile::readSlot(), 5.0);
    QCOMPARE(data.entryList(QDir::Files), QStringList{QStringLiteral("LGT.Log")});

    // A level of the same name as the shared one is the player's own.
    auto *editor = m_forms->get<MapEditor>();
    editor->Text1->setPlainText(QStringLiteral("1111\n1001\n1041\n1111"));
    editor->Command3_Click();
    QCOMPARE(shownMessages(), QStringList{QStringLiteral("Veltrano: file saved successfully !")});
    QVERIFY(data.exists(QStringLiteral("Level.lvl")));

    // The list offers the player's levels first, then the shared ones, each
    // name once, and the name loads the player's own.
    m_messages.clear();
    m_forms->unload(FormId::GameScreen);
    m_forms->show(FormId::LoadFiles);
    auto *files = m_forms->get<Load_Files>();
    QCOMPARE(files->File1->count(), 2);
    QCOMPARE(files->File1->item(0)->text(), QStringLiteral("Level.lvl"));
    QCOMPARE(files->File1->item(1)->text(), QStringLiteral("A-shared.lvl"));
    files->File1->setCurrentRow(0);
    files->File1_DblClick();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(m_forms->get<Game_Screen>()->Cash->text(), QStringLiteral("0"));
    QCOMPARE(ProgressFile::readSlot(), double(LevelTable::CustomSlot));

    // Nothing of the program directory changed.
    QDir game(directory);
    QCOMPARE(game.entryList(QDir::Files, QDir::Name),
             QStringList({QStringLiteral("A-shared.lvl"), QStringLiteral("LGT.Log"), QStringLiteral("Level.lvl")}));
    QFile level(game.filePath(QStringLiteral("Level.lvl")));
    QVERIFY(level.open(QIODevice::ReadOnly));
    QCOMPARE(level.readAll(), SmallLevel);
    QFile stored(game.filePath(QStringLiteral("LGT.Log")));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), progress);
}

// A program directory the player may write keeps everything, as a copy of
// the game in a folder of its own does; the data folder is never made.
void TestFaults::writableDirectoryKeepsFilesBesideTheGame()
{
    auto *screen = m_forms->get<Game_Screen>();
    screen->Label2->setText(QStringLiteral("2"));
    screen->loadscreen(1);
    auto *editor = m_forms->get<MapEditor>();
    editor->Text1->setPlainText(QStringLiteral("1111\n1031\n1041\n1111"));
    editor->Command3_Click();
    QCOMPARE(shownMessages(), QStringList{QStringLiteral("Veltrano: file saved successfully !")});

    QCOMPARE(m_dir->read(QStringLiteral("LGT.Log")), ProgressFile::content(1));
    QVERIFY(m_dir->exists(QStringLiteral("Level.lvl")));
    QVERIFY(!QFileInfo::exists(ScratchDir::dataFolder()));
}

void TestFaults::dataFolderNeedsAnAbsoluteHome_data()
{
    QTest::addColumn<QByteArray>("xdgDataHome"); // unset when null
    QTest::addColumn<QByteArray>("home");        // unset when null
    QTest::addColumn<QString>("dataHome");       // a user the system does not list when empty
    const passwd *user = getpwuid(getuid());
    const QString listed = QFile::decodeName(user ? user->pw_dir : "") + "/.local/share";
    QTest::newRow("XDG_DATA_HOME") << QByteArray("/srv/data") << QByteArray("/home/p") << "/srv/data";
    QTest::newRow("relative XDG_DATA_HOME") << QByteArray("rel/data") << QByteArray("/h") << "/h/.local/share";
    QTest::newRow("empty XDG_DATA_HOME") << QByteArray("") << QByteArray("/h") << "/h/.local/share";
    QTest::newRow("HOME unset") << QByteArray() << QByteArray() << listed;
    QTest::newRow("no home at all") << QByteArray() << QByteArray() << QString();
}

// Never a data folder at the root or below the folder the game was started
// from; without any home nothing is kept, and Save says so.
void TestFaults::dataFolderNeedsAnAbsoluteHome()
{
    QFETCH(QByteArray, xdgDataHome);
    QFETCH(QByteArray, home);
    QFETCH(QString, dataHome);
    const QByteArray oldHome = qgetenv("HOME");
    const auto restore = qScopeGuard([&oldHome] { qputenv("HOME", oldHome); });
    xdgDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdgDataHome);
    home.isNull() ? qunsetenv("HOME") : qputenv("HOME", home);
    ProgramDir::setPath(QStringLiteral("/proc/self"));
    if (!dataHome.isEmpty()) {
        QCOMPARE(ProgramDir::levelFolders(), QStringList({dataHome + "/tst_faults", "/proc/self"}));
        return;
    }
    uid_t unlisted = 60000;
    while (getpwuid(unlisted))
        ++unlisted;
    if (geteuid() != 0 || setresuid(unlisted, unlisted, 0) != 0)
        QSKIP("Only root can become a user the system does not list");
    const auto becomeRoot = qScopeGuard([] { (void)setresuid(0, 0, 0); });
    QCOMPARE(ProgramDir::levelFolders(), QStringList{"/proc/self"});
    MapEditor *editor = m_forms->get<MapEditor>();
    editor->Text1->setPlainText(QStringLiteral("10341"));
    editor->Command3_Click();
    QCOMPARE(shownMessages(), QStringList{"Error: There has been a error!"});
}

void TestFaults::levelFileThatVanishedIsNotFound()
{
    m_dir->write(QStringLiteral("gone.lvl"), SmallLevel);
    m_dir->write(QStringLiteral("kept.lvl"), SmallLevel);
    m_forms->show(FormId::LoadFiles);
    auto *files = m_forms->get<Load_Files>();
    QCOMPARE(files->File1->count(), 2);

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("gone.lvl"))));
    files->File1->setCurrentRow(0);
    QCOMPARE(files->File1->currentItem()->text(), QStringLiteral("gone.lvl"));
    files->File1_DblClick();
    QCOMPARE(shownMessages(), QStringList{QStringLiteral("Error: File Not Found")});
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(files->isVisible());

    // The next choice is read on its own, not after the failed one.
    files->File1->setCurrentRow(1);
    files->File1_DblClick();
    auto *screen = qobject_cast<Game_Screen *>(m_forms->loaded(FormId::GameScreen));
    QVERIFY(screen && screen->isVisible());
    QCOMPARE(screen->level(LevelTable::CustomSlot).rows.first(), QStringLiteral("1111"));
    QCOMPARE(screen->Cash->text(), QStringLiteral("1"));
}

void TestFaults::levelFileTurnedDirectoryIsNotFound()
{
    m_dir->write(QStringLiteral("x.lvl"), SmallLevel);
    m_forms->show(FormId::LoadFiles);
    auto *files = m_forms->get<Load_Files>();
    QCOMPARE(files->File1->count(), 1);

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("x.lvl"))));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("x.lvl")));
    files->File1->setCurrentRow(0);
    files->File1_DblClick();
    QCOMPARE(shownMessages(), QStringList{QStringLiteral("Error: File Not Found")});
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
}

void TestFaults::directoryNamedLikeALevelFileIsNotListed()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("x.lvl")));
    m_dir->write(QStringLiteral("real.lvl"), SmallLevel);
    m_forms->show(FormId::LoadFiles);
    auto *files = m_forms->get<Load_Files>();
    QCOMPARE(files->File1->count(), 1);
    QCOMPARE(files->File1->item(0)->text(), QStringLiteral("real.lvl"));
}

void TestFaults::saveOverADirectoryNamedLikeTheLevelFails()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("x.lvl")));
    m_dir->write(QStringLiteral("x.lvl/inside"), "kept");

    auto *editor = m_forms->get<MapEditor>();
    editor->Text4->setText(QStringLiteral("x"));
    editor->Text1->setPlainText(QStringLiteral("1111\n1041\n1111"));
    editor->Command3_Click();
    QCOMPARE(shownMessages(), QStringList{QStringLiteral("Error: There has been a error!")});
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("x.lvl"))).isDir());
    QCOMPARE(m_dir->read(QStringLiteral("x.lvl/inside")), QByteArray("kept"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{});
}

void TestFaults::progressFileThatIsADirectoryReadsAsLevelOne()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("LGT.Log")));
    m_dir->write(QStringLiteral("LGT.Log/inside"), "kept");

    auto *screen = m_forms->get<Game_Screen>();
    screen->Label2->setText(QStringLiteral("5"));
    screen->loadscreen(4);
    QCOMPARE(screen->Cash->text(), QStringLiteral("33"));
    QCOMPARE(ProgressFile::readSlot(), 0.0);
    QVERIFY(m_messages.isEmpty());

    auto *selection = m_forms->get<Start_Level>();
    QVERIFY(selection->Label1.at(0)->isEnabled());
    QVERIFY(!selection->Label1.at(1)->isEnabled());
    QVERIFY(QFileInfo(ProgressFile::path()).isDir());
    QCOMPARE(m_dir->read(QStringLiteral("LGT.Log/inside")), QByteArray("kept"));
}

void TestFaults::hugeSparseLevelFileIsReadInBounds_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("message");

    QTest::newRow("nothing but zeros")
        << QByteArray() << QStringLiteral("Error: The start position of this level is not a number.");
    QTest::newRow("a level, then zeros")
        << SmallLevel << QString();
}

void TestFaults::hugeSparseLevelFileIsReadInBounds()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, message);

    // A gigabyte that takes no room on the disk: the head, then holes.
    m_dir->write(QStringLiteral("huge.lvl"), head);
    QFile huge(m_dir->filePath(QStringLiteral("huge.lvl")));
    QVERIFY(huge.resize(qint64(1) << 30));

    const std::optional<QStringList> lines = LevelFile::read(huge.fileName());
    QVERIFY(lines);
    qsizetype characters = 0;
    for (const QString &line : *lines)
        characters += line.size();
    QVERIFY(characters <= LevelFile::MaxBytes);

    m_forms->show(FormId::LoadFiles);
    auto *files = m_forms->get<Load_Files>();
    files->File1->setCurrentRow(0);
    files->File1_DblClick();
    if (!message.isEmpty()) {
        QCOMPARE(shownMessages(), QStringList{message});
        QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
        return;
    }
    // The rows of the level are played; the megabyte of zeros after them is
    // one row of cells that name no tile, and blocks like walls.
    QVERIFY(m_messages.isEmpty());
    auto *screen = qobject_cast<Game_Screen *>(m_forms->loaded(FormId::GameScreen));
    QVERIFY(screen && screen->isVisible());
    QCOMPARE(screen->Cash->text(), QStringLiteral("1"));
    QVERIFY(screen->Image1().size() <= std::size_t(LevelFile::MaxBytes));
    screen->Form_KeyDown(39, 0);
    QCOMPARE(screen->Label4->text(), QStringLiteral("100"));
}

void TestFaults::hugeSparseLevelFileLoadsIntoTheEditorInBounds()
{
    m_dir->write(QStringLiteral("huge.lvl"), SmallLevel);
    QFile huge(m_dir->filePath(QStringLiteral("huge.lvl")));
    QVERIFY(huge.resize(qint64(1) << 30));

    auto *editor = m_forms->get<MapEditor>();
    editor->Command4_Click();
    auto *files = m_forms->get<Load_Files>();
    files->File1->setCurrentRow(0);
    files->File1_DblClick();
    QVERIFY(m_messages.isEmpty());
    QVERIFY(editor->Text1->toPlainText().startsWith(QStringLiteral("1111\n1031\n1041\n1111\n")));
    QVERIFY(editor->Text1->toPlainText().size() <= LevelFile::MaxBytes + 21);
}

bool TestFaults::inFullDisk(rlim_t bytes, const std::function<bool()> &body)
{
    const pid_t child = fork();
    if (child == 0) {
        // A write past the limit fails with EFBIG instead of killing the
        // process, as a write to a full disk fails.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void TestFaults::fullDiskDuringSaveKeepsTheOldFile()
{
    const QByteArray old = SmallLevel;
    m_dir->write(QStringLiteral("Level.lvl"), old);

    auto *editor = m_forms->get<MapEditor>();
    QString bigMap;
    for (int row = 0; row < 16; ++row)
        bigMap += QStringLiteral("85858585858585858585858585858585\n");
    editor->Text1->setPlainText(bigMap);

    QVERIFY(inFullDisk(64, [&] {
        editor->Command3_Click();
        return shownMessages()
               == QStringList{QStringLiteral("Veltrano: File Already Exist, Replace ?"),
                              QStringLiteral("Error: There has been a error!")};
    }));
    QCOMPARE(m_dir->read(QStringLiteral("Level.lvl")), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Level.lvl")});
}

void TestFaults::fullDiskKeepsTheOldProgress()
{
    m_dir->write(QStringLiteral("LGT.Log"), ProgressFile::content(3));
    auto *screen = m_forms->get<Game_Screen>();

    QVERIFY(inFullDisk(0, [&] {
        screen->Label2->setText(QStringLiteral("8"));
        screen->loadscreen(7);
        return !ProgressFile::record(7) && screen->Cash->text() == u"41" && m_messages.isEmpty();
    }));
    QCOMPARE(m_dir->read(QStringLiteral("LGT.Log")), ProgressFile::content(3));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("LGT.Log")});
}

// A progress file the player may read but not write still offers every
// level reached, and reading it leaves it as it was.
void TestFaults::readOnlyProgressFileIsStillRead()
{
    m_dir->write(QStringLiteral("LGT.Log"), ProgressFile::content(3));
    QVERIFY(QFile::setPermissions(m_dir->filePath(QStringLiteral("LGT.Log")),
                                  QFileDevice::ReadOwner | QFileDevice::ReadOther));
    QVERIFY(AsNobody::openUp(m_dir->path(), AsNobody::Write));
    m_user = std::make_unique<AsNobody>();
    QVERIFY(m_user->ordinary());
    QCOMPARE(ProgressFile::path(), m_dir->filePath(QStringLiteral("LGT.Log")));
    QCOMPARE(ProgressFile::readSlot(), 3.0);
    auto *selection = m_forms->get<Start_Level>();
    QVERIFY(selection->Label1.at(3)->isEnabled());
    QVERIFY(!selection->Label1.at(4)->isEnabled());
    QCOMPARE(m_dir->read(QStringLiteral("LGT.Log")), ProgressFile::content(3));
}

void TestFaults::progressIsWrittenInPlaceWhereOnlyTheFolderRefuses_data()
{
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<RegularFile::InPlace>("inPlace");
    QTest::addColumn<bool>("written");
    QTest::newRow("writable file") << true << RegularFile::InPlace::WhenFolderRefuses << true;
    QTest::newRow("read-only file") << false << RegularFile::InPlace::WhenFolderRefuses << false;
    QTest::newRow("level files are never written in place") << true << RegularFile::InPlace::Never << false;
}

// The save that leaves the old file whole needs a new file in the folder; a
// folder the player may not add to can still hold a file they may write.
void TestFaults::progressIsWrittenInPlaceWhereOnlyTheFolderRefuses()
{
    QFETCH(bool, fileWritable);
    QFETCH(RegularFile::InPlace, inPlace);
    QFETCH(bool, written);
    const QString folder = m_dir->filePath(QStringLiteral("game"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/LGT.Log");
    m_dir->write(QStringLiteral("game/LGT.Log"), ProgressFile::content(3));
    QVERIFY(QFile::setPermissions(path, fileWritable ? QFileDevice::ReadOther | QFileDevice::WriteOther
                                                     : QFileDevice::ReadOther));
    QVERIFY(AsNobody::openUp(m_dir->path()) && AsNobody::openUp(folder));
    m_user = std::make_unique<AsNobody>();
    QVERIFY(m_user->ordinary());

    QCOMPARE(RegularFile::replace(path, ProgressFile::content(5), inPlace), written);
    QCOMPARE(m_dir->read(QStringLiteral("game/LGT.Log")), ProgressFile::content(written ? 5 : 3));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("LGT.Log")});
}

void TestFaults::specialFilesAreNeitherOpenedNorWrittenThrough_data()
{
    QTest::addColumn<Special>("special");
    QTest::addColumn<Use>("use");
    const std::pair<Special, const char *> specials[] = {
        {Special::Fifo, "FIFO"},
        {Special::LinkToFifo, "link to a FIFO"},
        {Special::DanglingLink, "dangling link"},
        {Special::LinkOutside, "link to a file outside"},
        {Special::DeviceLink, "link to /dev/null"},
    };
    const std::pair<Use, const char *> uses[] = {
        {Use::PlayList, "chosen to play"},       {Use::EditorList, "chosen to edit"},
        {Use::ProgressRead, "read as progress"}, {Use::LevelCheck, "checked by veltrano-levels"},
        {Use::LevelSave, "saved over"},          {Use::ProgressWrite, "progress written over"},
        {Use::BestWrite, "best results written over"},
    };
    for (const auto &[special, what] : specials) {
        for (const auto &[use, how] : uses)
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(what), QLatin1String(how))))
                << special << use;
    }
}

// Nothing but a regular file is ever read, so nothing blocks; a link to a
// regular file is read through; writing replaces the name in the folder and
// never touches what a link points to. The files run as an ordinary user's.
void TestFaults::specialFilesAreNeitherOpenedNorWrittenThrough()
{
    QFETCH(Special, special);
    QFETCH(Use, use);
    const bool progress = use == Use::ProgressRead || use == Use::ProgressWrite;
    const bool best = use == Use::BestWrite;
    const bool writes = use == Use::LevelSave || use == Use::ProgressWrite || use == Use::BestWrite;
    const QString name = progress ? QStringLiteral("LGT.Log") : best ? QStringLiteral("Best.Log") : QStringLiteral("x.lvl");
    const QByteArray outsideBytes = progress ? ProgressFile::content(4) : best ? BestResults::content({{4, {10, 100}}}) : SmallLevel;
    QDir scratch(m_dir->path());
    QVERIFY(scratch.mkpath(QStringLiteral("game")) && scratch.mkpath(QStringLiteral("outside")));
    const QString game = m_dir->filePath(QStringLiteral("game"));
    const QString entry = game + u'/' + name;
    const QString outside = m_dir->filePath(QStringLiteral("outside/") + name);
    ProgramDir::setPath(game);

    // The list is read while a level file is there; the file is swapped
    // before the double-click.
    m_dir->write(QStringLiteral("game/") + name, SmallLevel);
    Load_Files *files = nullptr;
    if (use == Use::PlayList || use == Use::EditorList) {
        m_forms->show(FormId::LoadFiles);
        files = m_forms->get<Load_Files>();
        files->Label3->setText(use == Use::EditorList ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(files->File1->count(), 1);
        files->File1->setCurrentRow(0);
    }
    QVERIFY(QFile::remove(entry));
    const QByteArray fifo = QFile::encodeName(special == Special::Fifo ? entry : outside);
    switch (special) {
    case Special::Fifo:
    case Special::LinkToFifo:
        QVERIFY(::mkfifo(fifo.constData(), 0666) == 0);
        if (special == Special::LinkToFifo)
            QVERIFY(QFile::link(outside, entry));
        break;
    case Special::LinkOutside:
        m_dir->write(QStringLiteral("outside/") + name, outsideBytes);
        QVERIFY(QFile::link(outside, entry));
        break;
    case Special::DanglingLink:
        QVERIFY(QFile::link(outside, entry));
        break;
    case Special::DeviceLink:
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), entry));
        break;
    }
    QVERIFY(AsNobody::openUp(m_dir->path()) && AsNobody::openUp(m_dir->filePath(QStringLiteral("outside"))));
    QVERIFY(QFile::setPermissions(game, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther
                                            | QFileDevice::ExeOther));
    m_user = std::make_unique<AsNobody>();
    QVERIFY(m_user->ordinary());

    const bool readable = special == Special::LinkOutside;
    switch (use) {
    case Use::PlayList:
    case Use::EditorList:
        files->File1_DblClick();
        if (!readable) {
            QCOMPARE(shownMessages(), QStringList{QStringLiteral("Error: File Not Found")});
            QVERIFY(files->isVisible());
        } else if (use == Use::PlayList) {
            QCOMPARE(m_forms->get<Game_Screen>()->Cash->text(), QStringLiteral("1"));
        } else {
            QVERIFY(m_forms->get<MapEditor>()->Text1->toPlainText().startsWith(QStringLiteral("1111\n1031\n")));
        }
        break;
    case Use::ProgressRead:
        QCOMPARE(ProgressFile::readSlot(), readable ? 4.0 : 0.0);
        break;
    case Use::LevelCheck:
        QCOMPARE(LevelCheck(entry).report(false).first() == u"cannot be read; cannot be won", !readable);
        break;
    case Use::LevelSave: {
        auto *editor = m_forms->get<MapEditor>();
        editor->Text4->setText(QStringLiteral("x"));
        editor->Text1->setPlainText(QStringLiteral("1111\n1041\n1111"));
        editor->Command3_Click();
        QCOMPARE(shownMessages(), QStringList({QStringLiteral("Veltrano: File Already Exist, Replace ?"),
                                               QStringLiteral("Veltrano: file saved successfully !")}));
        QCOMPARE(m_dir->read(QStringLiteral("game/x.lvl")), QByteArray("0\r\n0\r\n12632256\r\n30\r\n1111\r\n1041\r\n1111\r\n"));
        break;
    }
    case Use::ProgressWrite:
        QVERIFY(ProgressFile::record(5));
        QCOMPARE(m_dir->read(QStringLiteral("game/LGT.Log")), ProgressFile::content(5));
        break;
    case Use::BestWrite:
        QCOMPARE(BestResults::record(5, {12, 300}), BestResults::Outcome::Kept);
        QCOMPARE(BestResults::read().size(), readable ? std::size_t(2) : std::size_t(1));
        break;
    }
    if (writes) {
        QVERIFY(hasType(entry, S_IFREG));
        QCOMPARE(QDir(game).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{name});
    }

    // Whatever the name pointed to is as it was.
    switch (special) {
    case Special::Fifo:
        QVERIFY(writes || hasType(entry, S_IFIFO));
        break;
    case Special::LinkToFifo:
        QVERIFY(hasType(outside, S_IFIFO));
        break;
    case Special::DanglingLink:
        QVERIFY(!hasType(outside, S_IFREG));
        break;
    case Special::LinkOutside:
        QCOMPARE(m_dir->read(QStringLiteral("outside/") + name), outsideBytes);
        break;
    case Special::DeviceLink:
        QVERIFY(hasType(QStringLiteral("/dev/null"), S_IFCHR));
        break;
    }
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
