#include "RecordingDialogService.h"

RecordingDialogService::RecordingDialogService() : m_previous(DialogService::Installed())
{
    DialogService::SetInstance(this);
}

RecordingDialogService::~RecordingDialogService()
{
    DialogService::SetInstance(m_previous);
}

bool RecordingDialogService::Reply(Request request, QString& value, int* filterIndex)
{
    m_requests.append(std::move(request));
    if (onShow)
        onShow(m_requests.last());
    if (m_answers.isEmpty())
        return false;
    const Answer a = m_answers.takeFirst();
    if (!a.text)
        return false;
    value = *a.text;
    if (filterIndex)
        *filterIndex = a.filterIndex;
    return true;
}

bool RecordingDialogService::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    return Reply({Kind::Input, caption, prompt, value, {}, {}}, value, nullptr);
}

bool RecordingDialogService::OpenFileName(const QString& title, const QString& filter, const QString& defaultExt,
                                          QString& fileName, int& filterIndex)
{
    return Reply({Kind::Open, title, {}, fileName, filter, defaultExt}, fileName, &filterIndex);
}

bool RecordingDialogService::SaveFileName(const QString& title, const QString& filter, const QString& defaultExt,
                                          QString& fileName, int& filterIndex)
{
    return Reply({Kind::Save, title, {}, fileName, filter, defaultExt}, fileName, &filterIndex);
}
