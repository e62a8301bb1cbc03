#pragma once
// Test double of the dialog service: records every dialog and answers it at
// once from queued answers, showing nothing. Installs itself while it lives.

#include "DialogService.h"

#include <QList>
#include <functional>
#include <optional>

class RecordingDialogService : public DialogService {
public:
    enum class Kind { Input, Open, Save };
    struct Request {
        Kind kind;
        QString caption;    // prompt caption or dialog title
        QString prompt;     // input prompt label
        QString value;      // initial answer or file name
        QString filter;     // file dialogs: as given, the platform's way
        QString defaultExt;
    };
    // std::nullopt cancels; otherwise the answer (text or file name) and, for
    // file dialogs, the filter chosen (1-based).
    struct Answer {
        std::optional<QString> text;
        int filterIndex = 1;
    };

    RecordingDialogService();
    ~RecordingDialogService() override;
    RecordingDialogService(const RecordingDialogService&) = delete;
    RecordingDialogService& operator=(const RecordingDialogService&) = delete;

    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool OpenFileName(const QString& title, const QString& filter, const QString& defaultExt, QString& fileName,
                      int& filterIndex) override;
    bool SaveFileName(const QString& title, const QString& filter, const QString& defaultExt, QString& fileName,
                      int& filterIndex) override;

    // Answers in turn; with none queued every dialog is cancelled.
    void QueueAnswer(const QString& text, int filterIndex = 1) { m_answers.append({text, filterIndex}); }
    void QueueCancel() { m_answers.append({std::nullopt, 1}); }

    const QList<Request>& Requests() const { return m_requests; }
    void Clear() { m_requests.clear(); }
    // Called while the dialog is "on screen".
    std::function<void(const Request&)> onShow;

private:
    bool Reply(Request request, QString& value, int* filterIndex);

    QList<Request> m_requests;
    QList<Answer> m_answers;
    DialogService* m_previous;
};
