// SPDX-License-Identifier: GPL-3.0-or-later
#include "BestTable.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QTableWidgetItem *cell(const QString &text, Qt::Alignment alignment)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

BestTable::BestTable(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Veltrano - Best results"));
    m_table = new QTableWidget(TotalRow + 1, 3, this);
    m_table->setAccessibleName(QStringLiteral("Best results"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Level"), QStringLiteral("Seconds left"), QStringLiteral("Points")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    // Every row in sight at once where the screen has room, else as many
    // as it holds, the rest a scroll away.
    m_table->resizeRowsToContents();
    const int rows = m_table->verticalHeader()->length() + m_table->horizontalHeader()->height()
                     + 2 * m_table->frameWidth();
    int height = sizeHint().height() - m_table->sizeHint().height() + rows;
    if (const QScreen *shown = parent ? parent->screen() : QGuiApplication::primaryScreen())
        height = std::min(height, shown->availableGeometry().height() * 9 / 10);
    resize(340, height);
}

void BestTable::fill(const BestResults::Table &best)
{
    int seconds = 0;
    int points = 0;
    int levels = 0;
    const QString dash = QStringLiteral("\u2013");
    for (int row = 0; row < TotalRow; ++row) {
        const int level = row + 1;
        const auto found = best.find(level);
        m_table->setItem(row, 0, cell(QStringLiteral("Level %1").arg(level), Qt::AlignLeft));
        if (found == best.end()) {
            m_table->setItem(row, 1, cell(dash, Qt::AlignHCenter));
            m_table->setItem(row, 2, cell(dash, Qt::AlignHCenter));
            // A screen reader says what the dash stands for.
            m_table->item(row, 1)->setData(Qt::AccessibleTextRole, QStringLiteral("no best yet"));
            m_table->item(row, 2)->setData(Qt::AccessibleTextRole, QStringLiteral("no best yet"));
            continue;
        }
        m_table->setItem(row, 1, cell(QString::number(found->second.secondsLeft), Qt::AlignRight));
        m_table->setItem(row, 2, cell(QString::number(found->second.points), Qt::AlignRight));
        seconds += found->second.secondsLeft;
        points += found->second.points;
        ++levels;
    }
    const QString levelsDone =
        QStringLiteral("Total, %1 %2").arg(levels).arg(levels == 1 ? QStringLiteral("level") : QStringLiteral("levels"));
    m_table->setItem(TotalRow, 0, cell(levelsDone, Qt::AlignLeft));
    m_table->setItem(TotalRow, 1, cell(QString::number(seconds), Qt::AlignRight));
    m_table->setItem(TotalRow, 2, cell(QString::number(points), Qt::AlignRight));
    for (int column = 0; column < 3; ++column) {
        QFont bold = m_table->font();
        bold.setBold(true);
        m_table->item(TotalRow, column)->setFont(bold);
    }
    m_table->setCurrentCell(0, 0);
}
