// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorDriver.h"
#include "Forms.h"
#include "MapPreview.h"
#include "MessageLog.h"
#include "ScratchDir.h"
#include "TileCodes.h"

#include <QAccessible>

static int tile(int code) { return int(TileCodes::all().indexOf(code)); }

// The level editor as a screen reader follows it.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void controlsHaveRolesAndNames_data();
    void controlsHaveRolesAndNames();
    void paletteFocusesTheTileTheKeysMoveTo();
    void previewDescribesEachNewVerdict();
    void routeNumbersItsTurnsBack();
    void namesAreOneLine();

private:
    ScratchDir m_dir;
    MessageLog m_log;
    std::unique_ptr<Forms> m_forms;
    MapEditor *m_editor = nullptr;
};

void TestAccessibility::init()
{
    m_forms = std::make_unique<Forms>();
    m_forms->show(FormId::MapEditor);
    m_editor = m_forms->get<MapEditor>();
}

void TestAccessibility::controlsHaveRolesAndNames_data()
{
    QTest::addColumn<int>("control");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("preview") << 0 << QAccessible::Graphic << "Preview";
    QTest::newRow("vertical") << 1 << QAccessible::ScrollBar << "Map rows, vertical scroll";
    QTest::newRow("horizontal") << 2 << QAccessible::ScrollBar << "Map rows, horizontal scroll";
    QTest::newRow("brick wall") << 3 << QAccessible::Button << "Brick wall: 1";
    QTest::newRow("banknote") << 4 << QAccessible::Button << "Banknote: 3";
}

void TestAccessibility::controlsHaveRolesAndNames()
{
    QFETCH(int, control);
    QAccessibleInterface *palette = QAccessible::queryAccessibleInterface(m_editor->Picture1);
    QAccessibleInterface *const controls[] = {QAccessible::queryAccessibleInterface(m_editor->Picture2),
                                              QAccessible::queryAccessibleInterface(m_editor->Text1->verticalScrollBar()),
                                              QAccessible::queryAccessibleInterface(m_editor->Text1->horizontalScrollBar()),
                                              palette->child(tile(TileCodes::Wall)), palette->child(tile(3))};
    QTEST(controls[control]->role(), "role");
    QTEST(controls[control]->text(QAccessible::Name), "name");
}

// Where the keys take the highlight a screen reader finds the focus, and the
// brush chosen there is the one tile checked.
void TestAccessibility::paletteFocusesTheTileTheKeysMoveTo()
{
    QAccessibleInterface *tiles = QAccessible::queryAccessibleInterface(m_editor->Picture1);
    QVERIFY(QTest::qWaitForWindowActive(m_editor));
    m_editor->Picture1->setFocus();
    QCOMPARE(tiles->focusChild(), tiles->child(tile(TileCodes::Floor)));
    QTest::keyClick(m_editor->Picture1, Qt::Key_Down);
    QAccessibleInterface *focused = tiles->focusChild();
    QCOMPARE(focused, tiles->child(tile(81)));
    QVERIFY(focused->state().focused);
    focused->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(focused->state().checked && !tiles->child(tile(TileCodes::Wall))->state().checked);
    m_editor->Text1->setFocus();
    QCOMPARE(tiles->focusChild(), nullptr);
}

void TestAccessibility::previewDescribesEachNewVerdict()
{
    MapPreview *preview = m_editor->Picture2;
    QAccessibleInterface *graphic = QAccessible::queryAccessibleInterface(preview);
    m_editor->Text1->setPlainText("0341");
    QTRY_COMPARE(preview->judgment(), MapPreview::Judgment::Winnable);
    QVERIFY(graphic->text(QAccessible::Description).startsWith("Can be won (green frame). This level can be won: "));
    m_editor->Text1->setPlainText("0311");
    QTRY_COMPARE(preview->judgment(), MapPreview::Judgment::NotWinnable);
    QVERIFY(graphic->text(QAccessible::Description).startsWith("Cannot be won (red frame). This level cannot be won: "));
}

// A corner is no turn back; each dead end is numbered in the order reached.
void TestAccessibility::routeNumbersItsTurnsBack()
{
    m_editor->Picture2->showRoute({{2, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 2}, {3, 3}, {3, 2}, {3, 1}, {4, 1}}, {});
    QCOMPARE(m_editor->Picture2->turnsBack(), (QList<QPoint>{{1, 1}, {3, 3}}));
}

// A name is read out whole, where a tab or a line break is noise.
void TestAccessibility::namesAreOneLine()
{
    m_editor->Text1->setPlainText("1111\n10341");
    QList<QAccessibleInterface *> unread{QAccessible::queryAccessibleInterface(m_editor)};
    while (!unread.isEmpty()) {
        const QAccessibleInterface *control = unread.takeLast();
        const QString name = control->text(QAccessible::Name);
        QVERIFY2(!name.contains(u'\t') && !name.contains(u'\n') && !name.contains(u'\r'), qPrintable(name));
        for (int i = 0; i < control->childCount(); ++i)
            unread.append(control->child(i));
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
