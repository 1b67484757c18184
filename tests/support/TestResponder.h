#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers the program's dialogs in tests: message boxes take queued results
// (OK when none is queued), input dialogs queued answers, and the program's
// own modal dialogs run through a callback instead of exec().
class TestResponder : public DialogResponder {
public:
    TestResponder() { m_previous = SetDialogResponder(this); }
    ~TestResponder() override { SetDialogResponder(m_previous); }

    std::vector<MessageRequest> messages;
    std::deque<int> messageAnswers;
    std::deque<std::pair<bool, QString>> inputAnswers;
    std::vector<InputRequest> inputs;
    std::function<int(QDialog&)> onDialog;
    int dialogsShown = 0;
    // File dialogs: queued paths (an empty one, or none queued: cancelled).
    std::deque<QString> fileAnswers;
    std::vector<FileRequest> files;

    int message(const MessageRequest& request) override
    {
        messages.push_back(request);
        if (messageAnswers.empty())
            return mrOk;
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

    bool input(const InputRequest& request, QString& value) override
    {
        inputs.push_back(request);
        if (inputAnswers.empty())
            return false;
        auto [confirmed, text] = inputAnswers.front();
        inputAnswers.pop_front();
        if (confirmed)
            value = text;
        return confirmed;
    }

    QString fileName(const FileRequest& request) override
    {
        files.push_back(request);
        if (fileAnswers.empty())
            return {};
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    int execDialog(QDialog& dialog) override
    {
        ++dialogsShown;
        return onDialog ? onDialog(dialog) : QDialog::Rejected;
    }

private:
    DialogResponder* m_previous = nullptr;
};
