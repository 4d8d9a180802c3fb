// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapEditor.h"

#include "Board.h"
#include "ColourBar.h"
#include "Colors.h"
#include "Fonts.h"
#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelRecord.h"
#include "LevelPlay.h"
#include "LevelTable.h"
#include "LiveVerdict.h"
#include "MapPreview.h"
#include "MapTextBox.h"
#include "MessageBox.h"
#include "ProgramDir.h"
#include "RegularFile.h"
#include "Spinner.h"
#include "TabStopDelegate.h"
#include "TilePalette.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>

#include <cmath>
#include <numeric>

namespace {

constexpr int StartCells = Twips::MapCells;
const QString Working = QStringLiteral("Working out whether it can be won...");
// What the verdict line says until F6 is pressed.
const QString F6Hint = QStringLiteral("F6: can this level be won?");
// A report line whose tiles run past the board stands out in dark red, as
// its mark may not fit the narrow list.
const QColor PastTheBoard(160, 0, 0);

QLabel *label(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *caption = new QLabel(text, parent);
    caption->setGeometry(geometry);
    return caption;
}

QLineEdit *textBox(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *box = new QLineEdit(text, parent);
    box->setGeometry(geometry);
    return box;
}

Spinner *spinner(int minimum, int maximum, int value, const QRect &geometry, QWidget *parent)
{
    auto *bar = new Spinner(minimum, maximum, parent);
    bar->setValue(value);
    // One step per arrow click and per click in the track.
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setGeometry(geometry);
    // Tab reaches the spinners and bars, whose arrow keys then step them; a
    // click leaves the focus where it was, so typing goes on in the map.
    bar->setFocusPolicy(Qt::TabFocus);
    return bar;
}

QPushButton *button(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *command = new QPushButton(text, parent);
    command->setGeometry(geometry);
    return command;
}

} // namespace

MapEditor::MapEditor()
    : Form(QStringLiteral("Veltrano - MAP EDITOR"), 13830, 7725, Frame::Dialog)
{
    setFont(Fonts::msSansSerif(8));

    // The map box comes first so that it is first in the tab order.
    Text1 = new MapTextBox(this);
    Text1->setGeometry(Twips::rect(1560, 0, 4455, 3495));
    Text1->setFont(Fonts::courier(9.75));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the map for the next control, as it does everywhere else in
    // the window; a tab character is no tile code.
    Text1->setTabChangesFocus(true);
    Text1->installEventFilter(this);
    connect(Text1, &MapTextBox::textPasted, this, &MapEditor::Text1_Paste);

    List2 = new QListWidget(this);
    List2->setGeometry(Twips::rect(0, 0, 1455, 3180));
    List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The counts line up after the label of a two-digit row number.
    List2->setItemDelegate(new TabStopDelegate(QStringLiteral("Line00: "), QStringLiteral(": "), List2));

    Picture1 = new TilePalette(this);
    Picture1->setGeometry(Twips::rect(600, 3480, 4455, 1095));
    connect(Picture1, &TilePalette::tileClicked, this, &MapEditor::Image2_Click);

    Picture2 = new MapPreview(this);
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setLineWidth(1);
    Picture2->setGeometry(Twips::rect(6120, 0, 7710, 7725));
    Picture2->setTiles({ImageElement{}});
    connect(Picture2, &MapPreview::strokeStarted, this, &MapEditor::startStroke);
    connect(Picture2, &MapPreview::cellPainted, this, &MapEditor::paintCell);
    connect(Picture2, &MapPreview::startChosen, this, &MapEditor::chooseStart);

    m_verdict = new LiveVerdict(this);
    connect(m_verdict, &LiveVerdict::judged, this, &MapEditor::showVerdict);

    Frame2 = new QGroupBox(QStringLiteral("Start location:"), this);
    Frame2->setGeometry(Twips::rect(600, 4800, 1935, 975));
    label(QStringLiteral("Top Start:"), Twips::rect(120, 240, 1695, 255), Frame2);
    Text2 = textBox(QStringLiteral("1"), Twips::rect(960, 240, 495, 285), Frame2);
    VScroll1 = spinner(1, StartCells, StartCells, Twips::rect(1440, 240, 255, 255), Frame2);
    label(QStringLiteral("Left start:"), Twips::rect(120, 600, 1695, 255), Frame2);
    Text3 = textBox(QStringLiteral("1"), Twips::rect(960, 600, 495, 285), Frame2);
    VScroll2 = spinner(1, StartCells, StartCells, Twips::rect(1440, 600, 255, 255), Frame2);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { spin(VScroll1, Text2); });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this] { spin(VScroll2, Text3); });

    Frame1 = new QGroupBox(QStringLiteral("background Color:"), this);
    Frame1->setGeometry(Twips::rect(600, 5880, 1935, 1575));
    label(QStringLiteral("Color:"), Twips::rect(120, 360, 1695, 255), Frame1);
    Picture3 = new QFrame(Frame1);
    Picture3->setGeometry(Twips::rect(960, 360, 855, 255));
    Picture3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture3->setAutoFillBackground(true);
    const QString colourNames[] = {QStringLiteral("Red:"), QStringLiteral("Green:"), QStringLiteral("Blue:")};
    for (int i = 0; i < 3; ++i) {
        const int top = 720 + 240 * i;
        label(colourNames[i], Twips::rect(120, top, 1695, 255), Frame1);
        // The bars stand 240 twips apart; at the 255 twips of the labels
        // beside them each would cover the top line of the next.
        const int first = int(LevelTable::ButtonFaceGrey >> (8 * i) & 0xFF);
        HScroll1[std::size_t(i)] = new ColourBar(first, Frame1);
        HScroll1[std::size_t(i)]->setGeometry(Twips::rect(960, top, 855, 240));
        HScroll1[std::size_t(i)]->setFocusPolicy(Qt::TabFocus);
        // Tracking is on, so this also follows the thumb while it is dragged.
        connect(HScroll1[std::size_t(i)], &QScrollBar::valueChanged, this, &MapEditor::HScroll1_Change);
    }

    Frame4 = new QGroupBox(QStringLiteral("Time For this level:"), this);
    Frame4->setGeometry(Twips::rect(2640, 4800, 2415, 975));
    Text5 = textBox(QStringLiteral("30"), Twips::rect(120, 360, 1935, 285), Frame4);
    VScroll3 = spinner(10, 120, 100, Twips::rect(2040, 360, 255, 255), Frame4);
    connect(VScroll3, &QScrollBar::valueChanged, this, [this] { spin(VScroll3, Text5); });

    Frame3 = new QGroupBox(QStringLiteral("Save File:"), this);
    Frame3->setGeometry(Twips::rect(2640, 5880, 2415, 975));
    label(QStringLiteral("Level Name:"), Twips::rect(120, 240, 1815, 255), Frame3);
    Text4 = textBox(QStringLiteral("Level"), Twips::rect(120, 480, 1575, 285), Frame3);
    Command3 = button(QStringLiteral("Save"), Twips::rect(1680, 480, 615, 285), Frame3);
    connect(Command3, &QPushButton::clicked, this, &MapEditor::Command3_Click);
    connect(Text4, &QLineEdit::textChanged, this, &MapEditor::showSaveTarget);

    Command4 = button(QStringLiteral("Load level"), Twips::rect(2640, 6960, 1095, 495), this);
    connect(Command4, &QPushButton::clicked, this, &MapEditor::Command4_Click);
    Command2 = button(QStringLiteral("Exit"), Twips::rect(4080, 6960, 975, 495), this);
    connect(Command2, &QPushButton::clicked, this, &MapEditor::Command2_Click);

    // The check sits behind a hidden button that every change of the map box
    // presses.
    Command1 = button(QStringLiteral("Check"), Twips::rect(5760, 3000, 75, 195), this);
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &MapEditor::Command1_Click);
    connect(Text1, &QPlainTextEdit::textChanged, this, &MapEditor::Text1_Change);
    // The start and the time change the verdict as the map does.
    for (QLineEdit *box : {Text2, Text3, Text5})
        connect(box, &QLineEdit::textChanged, this, &MapEditor::levelChanged);

    // The designer's two questions have keys and no control of their own, so
    // the window looks as it always has.
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, &MapEditor::playTest);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this, &MapEditor::tellWinnable);
    connect(new QShortcut(QKeySequence(Qt::Key_F7), this), &QShortcut::activated, this, [this] {
        if (const auto level = playable())
            emit wayRequested(*level);
    });
    // Escape is the close box: the closing question is asked as ever.
    closeOnEscape();
    // The map's undo history answers its keys wherever the focus is, so that
    // a stroke can be taken back after using the palette, a spinner or a
    // button; a box with text of its own keeps them for its own history.
    const QList<QKeySequence> undoKeys = QKeySequence::keyBindings(QKeySequence::Undo);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    for (const QKeySequence &key : std::as_const(undoKeys))
        connect(new QShortcut(key, this), &QShortcut::activated, Text1, &QPlainTextEdit::undo);
    for (const QKeySequence &key : std::as_const(redoKeys))
        connect(new QShortcut(key, this), &QShortcut::activated, Text1, &QPlainTextEdit::redo);

    // Under the map box and beside the preview, the space the window leaves
    // free: F6's answer, and under the save controls the file Save writes.
    // A long sentence scrolls rather than running under the window's edge.
    auto *verdictArea = new QScrollArea(this);
    verdictArea->setGeometry(Twips::rect(5100, 3540, 990, 3870));
    verdictArea->setFrameShape(QFrame::NoFrame);
    verdictArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verdictArea->setWidgetResizable(true);
    verdictArea->setFocusPolicy(Qt::NoFocus);
    verdictLine = new QLabel(F6Hint);
    verdictLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    verdictLine->setWordWrap(true);
    verdictLine->setTextFormat(Qt::PlainText);
    verdictLine->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    verdictLine->setAccessibleName(QStringLiteral("Verdict"));
    verdictLine->setAccessibleDescription(F6Hint);
    verdictArea->setWidget(verdictLine);
    verdictArea->viewport()->setAutoFillBackground(false);
    verdictLine->setAutoFillBackground(false);
    saveTarget = new QLabel(this);
    saveTarget->setGeometry(Twips::rect(600, 7470, 5460, 255));
    saveTarget->setTextFormat(Qt::PlainText);

    // A screen reader would otherwise name each box after the frame around
    // it, both start boxes "Start location:" and all three bars
    // "background Color:".
    Text1->setAccessibleName(QStringLiteral("Map rows"));
    List2->setAccessibleName(QStringLiteral("Line report"));
    Picture2->setAccessibleName(QStringLiteral("Preview"));
    Picture3->setAccessibleName(QStringLiteral("Level colour"));
    Text2->setAccessibleName(QStringLiteral("Top start"));
    VScroll1->setAccessibleName(QStringLiteral("Top start spinner"));
    Text3->setAccessibleName(QStringLiteral("Left start"));
    VScroll2->setAccessibleName(QStringLiteral("Left start spinner"));
    for (int i = 0; i < 3; ++i)
        HScroll1[std::size_t(i)]->setAccessibleName(colourNames[i].chopped(1));
    Text5->setAccessibleName(QStringLiteral("Time limit"));
    VScroll3->setAccessibleName(QStringLiteral("Time limit spinner"));
    Text4->setAccessibleName(QStringLiteral("Level name"));
    showSaveTarget();
}

void MapEditor::Form_Load()
{
    QTextCursor caret = Text1->textCursor();
    caret.movePosition(QTextCursor::End);
    Text1->setTextCursor(caret);
    Text1->setFocus();
    // The colour is part of the level the first check judges, and the
    // preview shows the floor the play screen would show for it.
    showLevelColor(LevelTable::rgb(HScroll1[0]->value(), HScroll1[1]->value(), HScroll1[2]->value()));
    Command1->click();
}

void MapEditor::Image2_Click(int Index)
{
    // From the keyboard the palette keeps the focus, so that the next tile
    // is a key away.
    const bool fromKeys = Picture1->hasFocus();
    QTextCursor caret = Text1->textCursor();
    caret.insertText(QString::number(Index));
    caret.movePosition(QTextCursor::End);
    Text1->setTextCursor(caret);
    if (!fromKeys)
        Text1->setFocus();
}

void MapEditor::paintCell(const QPoint &cell, bool withBrush)
{
    if (cell.x() < 0 || cell.y() < 0)
        return;
    const QString code = QString::number(withBrush ? Picture1->brush() : int(TileCodes::Floor));
    // Empty rows after the last one written are no part of the map yet: a
    // cell painted below them makes them floor, as it does the rows it adds.
    const qsizetype lines = m_list1.size() + (m_lastBreak ? 1 : 0);
    qsizetype written = m_list1.size();
    while (written > 0 && m_list1.at(written - 1).isEmpty())
        --written;
    QList<std::pair<qsizetype, TileCodes::RowPaint>> changes;
    for (qsizetype row = written; row <= cell.y(); ++row) {
        QString text = QString::number(TileCodes::Floor).repeated(Twips::MapCells);
        if (row == cell.y()) {
            const TileCodes::RowPaint paint = TileCodes::paint(text, cell.x(), code);
            text.replace(paint.from, paint.length, paint.text);
        }
        TileCodes::RowPaint fill;
        fill.codes = TileCodes::cutRow(text);
        fill.text = std::move(text);
        changes.append({row, fill});
    }
    if (cell.y() < written) {
        const TileCodes::RowPaint paint = TileCodes::paint(m_list1.at(cell.y()), cell.x(), code);
        if (!paint.changes())
            return;
        changes.append({cell.y(), paint});
    }

    // The rows are rewritten in the map box through its own undo stack, a
    // whole stroke as one step, and only where the cell's code changes.
    QTextDocument *map = Text1->document();
    QTextCursor edit(map);
    m_painting = true;
    if (m_stroke.edited)
        edit.joinPreviousEditBlock();
    else
        edit.beginEditBlock();
    for (const auto &[row, change] : std::as_const(changes)) {
        if (row < lines) {
            const int start = map->findBlockByNumber(int(row)).position();
            edit.setPosition(start + int(change.from));
            edit.setPosition(start + int(change.from + change.length), QTextCursor::KeepAnchor);
            edit.insertText(change.text);
        } else {
            edit.movePosition(QTextCursor::End);
            edit.insertText(u'\n' + change.text);
        }
    }
    edit.endEditBlock();
    m_painting = false;
    for (const auto &[row, change] : std::as_const(changes))
        checkPainted(row, change);
    levelChanged();
    m_stroke.cells.append(cell);
    m_stroke.edited = true;
}

void MapEditor::checkPainted(qsizetype row, const TileCodes::RowPaint &change)
{
    if (row < m_list1.size()) {
        m_list1[row].replace(change.from, change.length, change.text);
    } else {
        // Rows are added in order, the first of them on the line after the
        // last line break.
        m_list1.append(change.text);
        m_lastBreak = false;
        m_codeCounts.push_back(0);
    }
    std::vector<ImageElement> cells;
    cells.reserve(std::size_t(change.codes.size()));
    for (qsizetype i = 0; i < change.codes.size(); ++i)
        cells.push_back(Board::tileOf(change.codes.at(i), int(change.firstCode + i), int(row)));
    const auto rowStart = std::accumulate(m_codeCounts.begin(), m_codeCounts.begin() + row, qsizetype(0));
    Picture2->replaceTiles(std::size_t(rowStart + change.firstCode), std::size_t(change.replaced), std::move(cells));
    m_codeCounts[std::size_t(row)] += change.codes.size() - change.replaced;
    setReportLine(row);
}

void MapEditor::setReportLine(qsizetype row)
{
    // Tiles, as the preview and the play screen lay them out: a clock is
    // one tile of two characters.
    const qsizetype tiles = m_codeCounts[std::size_t(row)];
    QString report = QStringLiteral("Line%1: %2 %3").arg(row + 1).arg(tiles).arg(tiles == 1 ? u"tile" : u"tiles");
    QString tip;
    if (tiles > 0 && row >= Twips::MapCells) {
        report += QStringLiteral(" - past the board");
        tip = QStringLiteral("The board the player sees has %1 rows: this row's tiles lie below it, yet the explorer "
                             "walks there.")
                  .arg(Twips::MapCells);
    } else if (tiles > Twips::MapCells) {
        report += QStringLiteral(" - past the board");
        tip = QStringLiteral("The board the player sees has %1 columns: %2 of this row's tiles lie right of it, yet "
                             "the explorer walks there.")
                  .arg(Twips::MapCells)
                  .arg(tiles - Twips::MapCells);
    }
    if (row >= List2->count())
        List2->addItem(QString());
    QListWidgetItem *item = List2->item(int(row));
    item->setText(report);
    item->setToolTip(tip);
    if (tip.isEmpty())
        item->setData(Qt::ForegroundRole, QVariant());
    else
        item->setForeground(PastTheBoard);
}

void MapEditor::startStroke()
{
    m_previousStroke = m_stroke;
    m_stroke = Stroke{};
    m_stroke.started.start();
}

void MapEditor::chooseStart(const QPoint &cell)
{
    // The clicks of the double-click painted the cell; the start goes on the
    // map as it was. Only a stroke of this double-click counts: one that
    // began within the double-click time.
    const QList<QPoint> clicked{cell};
    const auto paintedHere = [&](const Stroke &stroke) {
        return stroke.edited && stroke.cells == clicked && stroke.started.isValid()
            && stroke.started.elapsed() <= 2 * QApplication::doubleClickInterval();
    };
    if (paintedHere(m_stroke) || paintedHere(m_previousStroke))
        Text1->undo();
    m_stroke = Stroke{};
    m_previousStroke = Stroke{};
    VScroll2->setShown(cell.x() + 1);
    VScroll1->setShown(cell.y() + 1);
    Text3->setText(QString::number(cell.x() + 1));
    Text2->setText(QString::number(cell.y() + 1));
}

bool MapEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return Text1_KeyPress(key->text());
    }
    return Form::eventFilter(watched, event);
}

bool MapEditor::Text1_KeyPress(const QString &typed)
{
    // "+" takes back the last code typed and a space is the empty floor;
    // every other key is the map box's own.
    if (typed != u"+" && typed != u" ")
        return false;
    Text1->type(typed);
    return true;
}

void MapEditor::Text1_Paste(const QString &text)
{
    // Counted as the box will hold it, a CR LF as the one line break it becomes.
    if (Text1->lengthAfterTyping(text) > MapTextBox::MaxLength) {
        MessageBox::show(this, QStringLiteral("This text is too long for a map: the map box holds at most %1 "
                                              "characters, so nothing was pasted.")
                                   .arg(MapTextBox::MaxLength));
        return;
    }
    // The whole text is one change, so the check runs once for it and not
    // once per character, which froze the editor on a long paste.
    Text1->type(text);
}

void MapEditor::Text1_Change()
{
    if (!m_painting)
        Command1->click();
}

void MapEditor::Command1_Click()
{
    m_list1 = Text1->toPlainText().split(u'\n');
    // The line break after the last row makes no row of its own; a second
    // one is an empty row and is reported as such.
    m_lastBreak = m_list1.last().isEmpty();
    if (m_lastBreak)
        m_list1.removeLast();

    // The cells are laid out as the play screen lays out its tiles; the last
    // one stays hidden as the next cell to fill.
    std::vector<ImageElement> cells = Board::layOut(m_list1);
    m_codeCounts.assign(std::size_t(m_list1.size()), 0);
    for (const ImageElement &cell : cells)
        ++m_codeCounts[std::size_t(cell.top / Twips::Cell)];
    cells.push_back(ImageElement{{}, 0, 0, {}, false});
    Picture2->setTiles(std::move(cells));
    List2->clear();
    for (qsizetype i = 0; i < m_list1.size(); ++i)
        setReportLine(i);
    levelChanged();
}

void MapEditor::spin(const Spinner *spinner, QLineEdit *box)
{
    // 17 - value for a start cell, 130 - value for the time.
    box->setText(QString::number(spinner->shown()));
}

void MapEditor::HScroll1_Change()
{
    showLevelColor(LevelTable::rgb(HScroll1[0]->value(), HScroll1[1]->value(), HScroll1[2]->value()));
}

void MapEditor::setSwatch(quint32 value)
{
    m_swatch = value;
    Colors::setBackColor(Picture3, Colors::fromValue(value));
    ColourBar::describeSwatch(Picture3, Colors::fromValue(value));
}

void MapEditor::showLevelColor(quint32 value)
{
    setSwatch(value);
    Picture2->setBackground(Colors::fromValue(value));
}

QString MapEditor::mapText() const
{
    return Text1->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

bool MapEditor::filexist(const QString &path)
{
    return RegularFile::occupied(path);
}

bool MapEditor::SaveList(const QStringList &list, const QString &path)
{
    if (LevelFile::write(path, list))
        return true;
    MessageBox::show(this, LevelDraft::SaveError, QStringLiteral("Error"));
    return false;
}

void MapEditor::Command3_Click()
{
    const LevelDraft level = draft();
    if (level.name.isEmpty()) {
        MessageBox::show(this, QStringLiteral("No file name !"));
        return;
    }
    if (!level.hasPlainName()) {
        MessageBox::show(this, LevelDraft::SaveError, QStringLiteral("Error"));
        return;
    }
    // Nothing is saved that the game would refuse to play, in the words the
    // load-level screen would refuse it with.
    if (const auto problem = level.problem()) {
        MessageBox::show(this, problem->text, problem->title);
        return;
    }

    const QString path = level.savePath();
    if (filexist(path)
        && MessageBox::show(this, QStringLiteral("File Already Exist, Replace ?"), QStringLiteral("Veltrano"),
                            MessageBox::Buttons::YesNo)
               == MessageBox::Answer::No)
        return;

    m_list3 = level.lines()->mid(0, LevelRecord::HeaderLines) + QStringList{mapText()};
    const bool saved = SaveList(m_list3, path);
    showSaveTarget();
    if (saved)
        MessageBox::show(this, QStringLiteral("file saved successfully !"));
}

LevelDraft MapEditor::draft() const
{
    // The row buffer is the map box's text as the last check or stroke left
    // it, so a stroke needs no copy of the whole box.
    LevelDraft level;
    level.map = m_list1.join(u'\n') + (m_lastBreak ? QStringLiteral("\n") : QString());
    level.top = Text2->text();
    level.left = Text3->text();
    level.color = m_swatch;
    level.time = Text5->text();
    level.name = Text4->text();
    return level;
}

void MapEditor::showSaveTarget()
{
    const LevelDraft level = draft();
    const QString path = level.savePath();
    QString text;
    if (level.name.isEmpty())
        text = QStringLiteral("Save needs a level name.");
    else if (path.isEmpty())
        text = QStringLiteral("Save cannot write a file of this name.");
    else
        text = QStringLiteral("Save writes %1%2")
                   .arg(QDir::toNativeSeparators(path), filexist(path) ? QStringLiteral(": exists, will be replaced")
                                                                        : QString());
    saveTarget->setToolTip(text);
    saveTarget->setAccessibleName(text);
    // A long folder is cut short in its middle; the tooltip has it whole.
    saveTarget->setText(saveTarget->fontMetrics().elidedText(text, Qt::ElideMiddle, saveTarget->width()));
}

void MapEditor::levelChanged()
{
    Picture2->clearFindings();
    m_askedWinnable.reset();
    setVerdictLine(F6Hint);
    const LevelDraft level = draft();
    Picture2->setStart(level.start());
    // What the game would refuse needs no search to be told.
    if (const auto problem = level.problem()) {
        Picture2->setJudgment(MapPreview::Judgment::NotWinnable, problem->sentence);
        return;
    }
    Picture2->setJudgment(MapPreview::Judgment::Working, Working);
    m_verdict->request(*level.lines());
}

void MapEditor::showVerdict(const QStringList &lines, const LevelCheck &check)
{
    // A level the designer has changed since is judged again already.
    if (draft().lines() != lines)
        return;
    Picture2->setJudgment(MapPreview::judgmentOf(check.verdict()), check.sentence());
    if (m_askedWinnable == lines) {
        m_askedWinnable.reset();
        showFindings(lines, check);
        setVerdictLine(check.sentence());
    }
}

void MapEditor::setVerdictLine(const QString &sentence)
{
    verdictLine->setText(sentence);
    verdictLine->setAccessibleDescription(sentence);
}

void MapEditor::showFindings(const QStringList &lines, const LevelCheck &check)
{
    switch (check.verdict()) {
    case LevelCheck::Verdict::Winnable:
        if (check.route())
            showRoute(lines, *check.route());
        break;
    case LevelCheck::Verdict::Blocked:
        if (check.obstacle().kind == Obstacle::Kind::CannotBeReached
            || check.obstacle().kind == Obstacle::Kind::BeyondReach)
            Picture2->markCell(check.obstacle().cell);
        break;
    case LevelCheck::Verdict::BadStart:
        Picture2->markCell(check.obstacle().cell);
        break;
    case LevelCheck::Verdict::Unreadable:
    case LevelCheck::Verdict::Refused:
    case LevelCheck::Verdict::TooFast:
    // A search cut short has neither a route to draw nor a cell to blame.
    case LevelCheck::Verdict::Undecided:
        break;
    }
}

void MapEditor::showRoute(const QStringList &lines, const Route &route)
{
    // The route as the explorer walks it: the cells it stands on, then the
    // exit it pushes into.
    const LevelMap map(LevelRecord::fromFileLines(lines));
    LevelPlay play(map);
    QList<QPoint> cells;
    QList<QPoint> clocks;
    if (play.figure())
        cells.append(*play.figure());
    for (const QChar key : route.keys) {
        const auto arrow = Arrow::ofLetter(key);
        if (!arrow)
            continue;
        const LevelRules::Press press = play.press(*arrow);
        // A route only ever steps from cell to cell of the grid.
        const std::optional<QPoint> cell = Twips::cellAt(press.cell);
        if (!cell)
            continue;
        if (press.moved || press.leaves)
            cells.append(*cell);
        if (press.moved && press.tile.seconds > 0)
            clocks.append(*cell);
    }
    Picture2->showRoute(cells, clocks);
}

std::optional<LevelRecord> MapEditor::playable()
{
    // The same refusal, in the same words, as Save's and as for the level
    // saved and picked from the list: a test play must not promise what the
    // file cannot keep.
    const LevelDraft level = draft();
    if (const auto problem = level.problem()) {
        MessageBox::show(this, problem->text, problem->title);
        return std::nullopt;
    }
    return LevelRecord::fromFileLines(*level.lines());
}

void MapEditor::playTest()
{
    if (const auto level = playable())
        emit testPlayChosen(*level);
}

void MapEditor::showPlayReport(const QString &report)
{
    setVerdictLine(QStringLiteral("Test play: ") + report + u'.');
}

void MapEditor::tellWinnable()
{
    const LevelDraft level = draft();
    if (const auto problem = level.problem()) {
        setVerdictLine(problem->sentence);
        return;
    }
    const QStringList lines = *level.lines();
    if (const LevelCheck *check = m_verdict->lastFor(lines)) {
        Picture2->clearFindings();
        showFindings(lines, *check);
        setVerdictLine(check->sentence());
        return;
    }
    // The live verdict is at work on this very level: its answer is F6's.
    m_askedWinnable = lines;
    setVerdictLine(Working);
    m_verdict->request(lines);
}

void MapEditor::Command4_Click()
{
    emit loadLevelChosen();
}

void MapEditor::Command2_Click()
{
    close();
}

void MapEditor::loadFromFile(const QStringList &lines)
{
    LevelDraft level = draft();
    level.load(lines);
    Text3->setText(level.left);
    Text2->setText(level.top);
    // The spinners follow the boxes; a start outside the map leaves them.
    for (const auto &[bar, box] : {std::pair{VScroll1, Text2}, std::pair{VScroll2, Text3}}) {
        if (const auto start = LevelRecord::number(box->text())) {
            const double shown = std::nearbyint(*start);
            if (shown >= bar->minimum() && shown <= bar->maximum())
                bar->setShown(int(shown));
        }
    }
    if (level.color != m_swatch)
        showLevelColor(level.color);
    Text5->setText(level.time);
    Text1->setPlainText(level.map);
}

void MapEditor::Form_Unload(bool &cancel)
{
    cancel = MessageBox::show(this, QStringLiteral("U Sure you saved the level ?!?!"), QStringLiteral("SAVE"),
                              MessageBox::Buttons::YesNo)
        == MessageBox::Answer::No;
}

QColor MapEditor::previewColor() const
{
    return Picture2->background();
}

const std::vector<ImageElement> &MapEditor::Image1() const
{
    return Picture2->tiles();
}
