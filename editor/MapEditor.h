// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"
#include "ImageElement.h"
#include "LevelDraft.h"
#include "LevelRecord.h"
#include "MapTextBox.h"
#include "Spinner.h"
#include "TileCodes.h"

#include <QColor>
#include <QElapsedTimer>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class LevelCheck;
struct Route;
class LiveVerdict;
class MapPreview;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class TilePalette;

// The level editor: the map typed as rows of tile codes or put together from
// the tile palette, checked and drawn on every change, with the start cell,
// the level colour and the time limit beside it, saved as a level file and
// loaded back through the load-level screen. The level lives only in the
// boxes; LevelDraft reads it from them whenever it is needed.
class MapEditor : public Form
{
    Q_OBJECT

public:
    MapEditor();

    void Form_Load() override;

    // Puts the code of a palette tile in place of the map box's selection.
    void Image2_Click(int Index);
    // The check: row buffer, line report and preview from the map box.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // Fills the boxes from the lines of a level file; a line that does not
    // fit its box leaves that box as it was.
    void loadFromFile(const QStringList &lines);

    // F5: asks for the level in the boxes to be played as it stands, unsaved,
    // unless the game would refuse it, which is said as for a file.
    void playTest();
    // F6: says on the verdict line whether the level in the boxes can be
    // won, by the check the designers' tool makes, or the first reason it
    // cannot be, and shows the route or the cell at fault on the preview.
    // The live verdict's answer for the same level is used when there is
    // one; otherwise the line says so once that verdict comes in.
    void tellWinnable();

    // The level in the boxes.
    LevelDraft draft() const;

    // True when something other than a directory has the name, a link
    // included, dangling or not: saving there replaces it.
    static bool filexist(const QString &path);
    // Writes the items as the lines of a level file; shows "There has been a
    // error!" and returns false when the file cannot be written or the text
    // has characters a level file cannot hold.
    bool SaveList(const QStringList &list, const QString &path);

    // The map box's text with the file's CR LF between its rows.
    QString mapText() const;
    // The colour value of the swatch, red in the lowest byte.
    quint32 swatchColor() const { return m_swatch; }
    QColor previewColor() const;

    const QStringList &List1() const { return m_list1; }
    const std::vector<ImageElement> &Image1() const;

    MapTextBox *Text1 = nullptr; // the map
    QListWidget *List2 = nullptr;    // the line report
    TilePalette *Picture1 = nullptr;
    MapPreview *Picture2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QLineEdit *Text2 = nullptr; // Top start
    QLineEdit *Text3 = nullptr; // Left start
    QLineEdit *Text4 = nullptr; // level name
    QLineEdit *Text5 = nullptr; // time limit
    Spinner *VScroll1 = nullptr;
    Spinner *VScroll2 = nullptr;
    Spinner *VScroll3 = nullptr;
    std::array<QScrollBar *, 3> HScroll1{}; // red, green, blue
    QFrame *Picture3 = nullptr;             // the colour swatch
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    // F6's sentence, beside the preview, until the next change.
    QLabel *verdictLine = nullptr;
    // How the F5 test play just over ended, on the verdict line.
    void showPlayReport(const QString &report);
    // The file Save writes, and whether it would replace one.
    QLabel *saveTarget = nullptr;

signals:
    // "Load level": the player wants a level file in the editor.
    void loadLevelChosen();
    // F5: the level to play on the play screen while the editor waits,
    // unchanged, for the play to end.
    void testPlayChosen(const LevelRecord &level);
    // F7: the level to be shown played through, by the checker's route, on
    // the play screen while the editor waits.
    void wayRequested(const LevelRecord &level);

protected:
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The level in the boxes as the play screen would play it, or nothing
    // after saying why the game would refuse it.
    std::optional<LevelRecord> playable();
    // Every change of the map box presses the check, except a painted cell,
    // whose stroke brings the check up to date itself.
    void Text1_Change();
    void spin(const Spinner *spinner, QLineEdit *box);
    void HScroll1_Change();
    // Handles a typed character; true when the map box must not get it.
    bool Text1_KeyPress(const QString &typed);
    // Inserts pasted or dropped text as if typed, as one change of the map.
    void Text1_Paste(const QString &text);
    void setSwatch(quint32 value);
    // Painting on the preview: one cell of a stroke, and a double-click.
    void startStroke();
    void paintCell(const QPoint &cell, bool withBrush);
    // The check of a painted cell: the rows, report lines and preview cells
    // of the rows the paint changed, and nothing else.
    void checkPainted(qsizetype row, const TileCodes::RowPaint &change);
    // The line report's line for a row, marked when its tiles run past the
    // board the player sees.
    void setReportLine(qsizetype row);
    void chooseStart(const QPoint &cell);
    // After every change of the map, the start or the time: the preview's
    // start, and a new verdict asked for.
    void levelChanged();
    void showVerdict(const QStringList &lines, const LevelCheck &check);
    void setVerdictLine(const QString &sentence);
    void showSaveTarget();
    // What F6 found, on the preview: the route, or the cell at fault.
    void showFindings(const QStringList &lines, const LevelCheck &check);
    void showRoute(const QStringList &lines, const Route &route);
    // The swatch and the preview background together.
    void showLevelColor(quint32 value);

    QStringList m_list1;
    // The map box's text ends in a line break that makes no row of its own.
    bool m_lastBreak = false;
    // How many codes each row of the row buffer holds: where a row's cells
    // begin among the preview's.
    std::vector<qsizetype> m_codeCounts;
    // A painted cell is being written into the map box.
    bool m_painting = false;
    QStringList m_list3;
    quint32 m_swatch = 0;
    LiveVerdict *m_verdict = nullptr;
    // The level F6 asked about while its live verdict was still at work.
    std::optional<QStringList> m_askedWinnable;
    // The stroke being painted: the cells it changed, so that a double-click
    // can take its first click back.
    struct Stroke
    {
        QList<QPoint> cells;
        bool edited = false;
        QElapsedTimer started;
    };
    Stroke m_stroke;
    Stroke m_previousStroke;
};
