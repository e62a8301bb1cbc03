#pragma once
// The program's small standard dialogs (one-line input prompt, open and save
// file dialogs) go through this service, so that tests can answer them
// without a window appearing.
//
// File filters are written the platform's way: pairs of description and
// patterns separated by '|', e.g. "Report file (*.BRP)|*.BRP|Text|*.txt".

#include <QString>

class DialogService {
public:
    virtual ~DialogService() = default;

    // The service in use: the one installed by setInstance, else the one
    // that shows real dialogs.
    static DialogService& instance();
    // Installs `service` (not owned); nullptr goes back to real dialogs.
    static void setInstance(DialogService* service);
    static DialogService* installed();

    // One-line prompt: `value` holds the initial answer and, when the
    // operator confirms, the new one. Cancelling leaves it as it was.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;

    // File dialogs. `defaultExt` (without the dot) is added to a typed name
    // that has none. `filterIndex` is 1-based, in and out.
    virtual bool OpenFileName(const QString& title, const QString& filter, const QString& defaultExt,
                              QString& fileName, int& filterIndex) = 0;
    virtual bool SaveFileName(const QString& title, const QString& filter, const QString& defaultExt,
                              QString& fileName, int& filterIndex) = 0;

    // The platform filter as Qt's list of "description (patterns)" entries.
    static QStringList QtFilters(const QString& filter);
};

// Real dialogs over QInputDialog and QFileDialog.
class QtDialogService : public DialogService {
public:
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool OpenFileName(const QString& title, const QString& filter, const QString& defaultExt, QString& fileName,
                      int& filterIndex) override;
    bool SaveFileName(const QString& title, const QString& filter, const QString& defaultExt, QString& fileName,
                      int& filterIndex) override;

private:
    bool fileDialog(bool save, const QString& title, const QString& filter, const QString& defaultExt,
                    QString& fileName, int& filterIndex);
};
