// SPDX-License-Identifier: GPL-3.0-or-later
#include "Load_Files.h"

#include "Colors.h"
#include "Fonts.h"
#include "LevelDraft.h"
#include "LevelFile.h"
#include "LevelFolder.h"
#include "LevelRecord.h"
#include "MessageBox.h"
#include "ProgramDir.h"
#include "Twips.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QShortcut>

namespace {

QLabel *colouredLabel(const QString &text, const QColor &color, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    Colors::setForeColor(label, color);
    return label;
}

void desktopFileDialog(QWidget *parent, const QString &folder, const Load_Files::Chosen &chosen)
{
    // One dialog at a time: asking again brings it to the front.
    if (auto *open = parent->findChild<QFileDialog *>(QString(), Qt::FindDirectChildrenOnly)) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *dialog = new QFileDialog(parent, QStringLiteral("Open a level file"), folder,
                                   QStringLiteral("Level files (*.lvl)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Gone with the window it belongs to, and with it the answer.
    QObject::connect(dialog, &QFileDialog::fileSelected, parent, chosen);
    dialog->open();
}

} // namespace

// Taller than the list and its note need, for the line naming the folders
// and the buttons under it.
Load_Files::Load_Files()
    : Form(QStringLiteral("Load Level from files"), 4695, 3960, Frame::Tool)
    , m_chooseFile(desktopFileDialog)
{
    Colors::setBackColor(this, Colors::MenuBack);
    setFont(Fonts::msSansSerif(8));

    Label1 = colouredLabel(QStringLiteral("Please Choose a Level from the list:"), Colors::Yellow,
                           Twips::rect(480, 240, 3735, 255), this);

    File1 = new QListWidget(this);
    File1->setGeometry(Twips::rect(480, 480, 3735, 2430));
    File1->setAccessibleName(QStringLiteral("Level files"));
    connect(File1, &QListWidget::itemDoubleClicked, this, &Load_Files::File1_DblClick);
    // Enter and Space choose the highlighted file as a double-click does, so
    // that a level file can be played without a mouse.
    File1->installEventFilter(this);

    Label2 = colouredLabel(QStringLiteral("*Level's can be downloaded at veltrano.example"),
                           QColor(255, 192, 128), Twips::rect(480, 2920, 3735, 255), this);

    Label3 = new QLabel(QStringLiteral("0"), this);
    Label3->setGeometry(Twips::rect(120, 360, 135, 135));
    Label3->hide();

    Folders = colouredLabel(QString(), QColor(192, 255, 255), Twips::rect(480, 3180, 3735, 255), this);
    Folders->setTextFormat(Qt::PlainText);

    EmptyNote = new QLabel(QStringLiteral("No level files here yet: make one in the Level Creator, "
                                          "or use Open\u2026 to play one from elsewhere."),
                           this);
    Colors::setForeColor(EmptyNote, QColor(64, 64, 64));
    EmptyNote->setWordWrap(true);
    EmptyNote->setAlignment(Qt::AlignCenter);
    // Over the empty list, which has nothing there to point at.
    EmptyNote->setGeometry(File1->geometry().adjusted(16, 16, -16, -16));
    EmptyNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    EmptyNote->hide();

    Command1 = new QPushButton(QStringLiteral("&Open\u2026"), this);
    Command1->setGeometry(Twips::rect(480, 3510, 1695, 345));
    Command1->setToolTip(QStringLiteral("Open a level file from any folder (Ctrl+O)"));
    connect(Command1, &QPushButton::clicked, this, &Load_Files::Command1_Click);
    auto *open = new QShortcut(QKeySequence::Open, this);
    open->setAutoRepeat(false);
    connect(open, &QShortcut::activated, this, &Load_Files::Command1_Click);

    Command2 = new QPushButton(QStringLiteral("&Show me a way"), this);
    Command2->setGeometry(Twips::rect(2520, 3510, 1695, 345));
    Command2->setToolTip(QStringLiteral("Watch a way through the highlighted level"));
    connect(Command2, &QPushButton::clicked, this, &Load_Files::Command2_Click);
    connect(File1, &QListWidget::currentRowChanged, this, &Load_Files::updateButtons);
    closeOnEscape();
}

void Load_Files::Form_Load()
{
    // The player's own levels come first; a level in a later folder with the
    // same name as one already listed is left out, so the name loads theirs.
    QSet<QString> listed;
    for (const QString &folder : ProgramDir::levelFolders()) {
        QSet<QString> here;
        for (const LevelFolder::Entry &entry : LevelFolder::entries(folder)) {
            if (listed.contains(entry.name))
                continue;
            here.insert(entry.name);
            auto *item = new QListWidgetItem(entry.name, File1);
            item->setData(PathRole, entry.path);
        }
        listed.unite(here);
    }
    // The keyboard starts on the first file, ready for Enter.
    if (File1->count() > 0)
        File1->setCurrentRow(0);
    describeFolders();
    updateButtons();
}

void Load_Files::describeFolders()
{
    QStringList folders = ProgramDir::levelFolders();
    for (QString &folder : folders)
        folder = QDir::toNativeSeparators(folder);
    const QString full = QStringLiteral("Levels in: ") + folders.join(QStringLiteral(" and "));
    Folders->setText(Folders->fontMetrics().elidedText(full, Qt::ElideMiddle, Folders->width()));
    Folders->setToolTip(folders.join(u'\n'));
    Folders->setAccessibleName(full);
    const bool empty = File1->count() == 0;
    EmptyNote->setVisible(empty);
    // A screen reader on the empty list hears what to do about it.
    File1->setAccessibleDescription(empty ? EmptyNote->text() : QString());
}

void Load_Files::updateButtons()
{
    // A way is shown on the play screen, which the editor's loading leaves
    // alone.
    Command2->setEnabled(File1->currentItem() && isPlayMode());
}

void Load_Files::setFileChooser(FileChooser chooser)
{
    m_chooseFile = std::move(chooser);
}

void Load_Files::Command1_Click()
{
    m_chooseFile(this, ProgramDir::levelFolders().value(0), [this](const QString &file) {
        if (!file.isEmpty() && !isUnloaded())
            choose(QFile::encodeName(file), QFileInfo(file).fileName());
    });
}

void Load_Files::Command2_Click()
{
    const QListWidgetItem *chosen = File1->currentItem();
    if (!chosen || !Command2->isEnabled())
        return;
    QStringList lines;
    if (!LoadList(lines, chosen->data(PathRole).toByteArray()))
        return;
    if (const auto problem = LevelDraft::fileProblem(lines)) {
        MessageBox::show(this, problem->text, problem->title);
        return;
    }
    emit wayRequested(LevelRecord::fromFileLines(lines));
}

bool Load_Files::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == File1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool choosing = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
        if (choosing && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            // A held key chooses once: a refused file's message is not
            // answered and brought back again and again by the key's repeat.
            if (!key->isAutoRepeat())
                File1_DblClick();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

bool Load_Files::LoadList(QStringList &list, const QByteArray &path)
{
    const std::optional<QStringList> lines = LevelFile::read(path);
    if (!lines) {
        MessageBox::show(this, QStringLiteral("File Not Found"), QStringLiteral("Error"));
        return false;
    }
    list.append(*lines);
    return true;
}

void Load_Files::File1_DblClick()
{
    if (const QListWidgetItem *chosen = File1->currentItem())
        choose(chosen->data(PathRole).toByteArray(), chosen->text());
}

void Load_Files::choose(const QByteArray &path, const QString &name)
{
    if (!LoadList(m_list1, path))
        return;

    if (isPlayMode()) {
        // The play screen cannot build a level without a single code, and it
        // reads the start and the time as numbers at every build and tick:
        // such a file is turned away before anything of it is built.
        if (const auto problem = LevelDraft::fileProblem(m_list1)) {
            MessageBox::show(this, problem->text, problem->title);
            // The window stays open for another choice, which must not be
            // appended to the lines of this file.
            m_list1.clear();
            return;
        }
        m_backToMenu = false;
        emit playChosen(LevelRecord::fromFileLines(m_list1), name);
    } else {
        m_backToMenu = false;
        emit editChosen(m_list1);
    }
}

bool Load_Files::isPlayMode() const
{
    return Label3->text().trimmed().toDouble() == 0;
}

void Load_Files::setEditorMode()
{
    Label3->setText(QStringLiteral("1"));
    updateButtons();
}
