// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BestResults.h"

#include <QDialog>

class QTableWidget;

// The player's best finish of every built-in level in one table: the
// seconds left and the points of each level's best, a dash where a level
// has none yet, and in a last row the totals of both. Escape closes it.
class BestTable : public QDialog
{
    Q_OBJECT

public:
    explicit BestTable(QWidget *parent);

    // Fills the table from the bests as they stand.
    void fill(const BestResults::Table &best);

    // The row of the totals, after the levels'.
    static constexpr int TotalRow = 20;

    QTableWidget *table() const { return m_table; }

private:
    QTableWidget *m_table = nullptr;
};
