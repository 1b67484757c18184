#pragma once

#include "app/Mainform.h"
#include "app/Willkommen.h"
#include "support/TestResponder.h"
#include "widgets/EntryListBox.h"
#include "widgets/FlatButton.h"

#include <QPushButton>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A program folder of its own for each test, and a responder for dialogs.
class AppFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QString welcomeName = QStringLiteral("Anna");
    int welcomeLanguageRow = -1; // -1: leave the preselected entry
    QString chosenUserNumber;    // user-selection mode: pick this number
    std::vector<int> welcomeModes;

    AppFixture()
    {
        responder.onDialog = [this](QDialog& dialog) {
            auto* welcome = dynamic_cast<Tfrm_willkommen*>(&dialog);
            if (!welcome)
                return int(QDialog::Rejected);
            welcomeModes.push_back(welcome->WelcomeMode);
            if (welcome->WelcomeMode == Tfrm_willkommen::FirstStart) {
                if (welcomeLanguageRow >= 0)
                    welcome->Sprachwahl()->setCurrentRow(welcomeLanguageRow);
                welcome->Name()->setText(welcomeName);
            } else if (!chosenUserNumber.isEmpty()) {
                for (int i = 0; i < welcome->users()->count(); ++i)
                    if (EntryListBox::numberPart(welcome->users()->entry(i)) == chosenUserNumber)
                        welcome->users()->setCurrentRow(i);
            }
            welcome->accept();
            return int(QDialog::Accepted);
        };
    }

    QString folder() const { return dir.path() + u'/'; }
    QString iniPath() const { return dir.filePath(QStringLiteral("geo.ini")); }

    void writeIni(const QByteArray& text)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<Tfrm_main> start() { return std::make_unique<Tfrm_main>(folder()); }
};
