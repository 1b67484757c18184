#pragma once

#include "i18n/LangDictionary.h"
#include "i18n/MainDictionary.h"
#include "lesson/AnswerEdit.h"
#include "lesson/GlobeLink.h"
#include "lesson/LessonHooks.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The main window texts the lesson model composes, in a dictionary of our own.
class MainTexts {
public:
    MainTexts()
        : m_dictionary(QStringLiteral("Tfrm_main"),
                       TLangDictionary::parseTables(QString::fromUtf8("[Strings]\n"
                                                                      "format_frage\tWie heißt %s\\ngezeigte %s ?\t\tWhat is the name of %s %s shown ?\n"
                                                                      "Cn\tStadt\t\ttown\n"
                                                                      "Ln\tLand\t\tcountry\n"
                                                                      "Fn\tFluß\tFluss\triver\n"
                                                                      "ArticleC\tdie\t\tthe\n"
                                                                      "ArticleL\tdas\t\tthe\n"
                                                                      "ArticleF\tder\t\tthe\n"
                                                                      "Xn\tnie\t\tnever\n"),
                                                    QChar(1)))
    {
        SetMainDictionary(&m_dictionary);
    }
    ~MainTexts() { SetMainDictionary(nullptr); }
    void language(int l) { m_dictionary.SetActLang(l); }

private:
    TLangDictionary m_dictionary;
};

// Every test starts without hooks and with spelling tolerance on.
class LessonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LessonHooks::ClearStateObserver();
        LessonHooks::SetGlobeRedrawHook(nullptr);
        LessonHooks::SetSpellingTolerance(true);
    }
    void TearDown() override { SetUp(); }
    MainTexts texts;
};

struct FakeEdit : IAnswerEdit {
    QString text;
    TColor unfocused = -1, focused = -1;
    bool enabled = true;
    int textWrites = 0;
    void SetTextSilently(const QString& t) override { text = t, ++textWrites; }
    void SetColors(TColor u, TColor f) override { unfocused = u, focused = f; }
    void SetEnabled(bool e) override { enabled = e; }
};

struct FakePresenter : ILessonPresenter {
    explicit FakePresenter(int id) : id(id) {}
    int id;
    TColor fill = -1, line = -1;
    int PresenterId() const override { return id; }
    void SetFillColor(TColor c) override { fill = c; }
    void SetLineColor(TColor c) override { line = c; }
};

struct FakeObject : ILessonGlobeObject {
    int presenter = 0;
    bool visible = true;
    QString title = QStringLiteral("unset");
    void SetPresenterId(int id) override { presenter = id; }
    void SetVisible(bool v) override { visible = v; }
    void SetTitle(const QString& t) override { title = t; }
};

// An INI file written from text into a temporary folder.
class TempIni {
public:
    explicit TempIni(const QByteArray& contents, const QString& name = QStringLiteral("test.lek"))
    {
        m_path = m_dir.filePath(name);
        QFile f(m_path);
        if (f.open(QIODevice::WriteOnly))
            f.write(contents);
        f.close();
        m_ini = std::make_unique<IniFile>(m_path);
    }
    IniFile& ini() { return *m_ini; }
    const QString& path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<IniFile> m_ini;
};
