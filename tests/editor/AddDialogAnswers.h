#pragma once

#include "editor/AddItemDialog.h"

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

// What the author picks in one showing of the add dialog: the text typed
// into the search field and the entry chosen among the results.
struct Pick {
    QString search;
    QString section;
    QString name;
};

// Answers one showing of the add dialog as the author would: types, picks
// and adds the next pick; with none left, Cancel.
inline int AnswerAddDialog(QDialog& shown, std::deque<Pick>& picks)
{
    auto& dialog = dynamic_cast<TAddItemDialog&>(shown);
    if (picks.empty())
        return QDialog::Rejected;
    const Pick pick = picks.front();
    picks.pop_front();
    dialog.show();
    QTest::keyClicks(dialog.SearchEdit, pick.search);
    bool found = false;
    for (int row = 0; row < dialog.EntryCount() && !found; ++row)
        if (dialog.EntryAt(row)->Section == pick.section && dialog.DisplayNameAt(row) == pick.name) {
            dialog.SelectRow(row);
            found = true;
        }
    EXPECT_TRUE(found) << pick.name.toStdString() << " is not listed for " << pick.search.toStdString();
    dialog.Add();
    dialog.hide();
    return found ? QDialog::Accepted : QDialog::Rejected;
}
