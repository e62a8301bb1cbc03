#pragma once
// The engine's window messages, carried as Qt events: posted ones with
// QCoreApplication::postEvent (asynchronous, in order), sent ones with
// sendEvent (handled before the call returns).

#include <QEvent>
#include <QtGlobal>

constexpr int WM_USER = 1024;
constexpr int BRM_PROGRESS = WM_USER;
constexpr int BRM_PAGESREADY = WM_USER + 1;
constexpr int BRM_PRINT = WM_USER + 2;
constexpr int BRM_PREVIEWCLOSED = WM_USER + 4;

class BRMessageEvent : public QEvent {
public:
    BRMessageEvent(int message, quintptr wParam, quintptr lParam)
        : QEvent(TypeFor(message)), Message(message), WParam(wParam), LParam(lParam)
    {
    }
    static QEvent::Type TypeFor(int message) { return static_cast<QEvent::Type>(QEvent::User + message); }
    static bool Is(const QEvent* event, int message) { return event->type() == TypeFor(message); }

    const int Message;
    const quintptr WParam;
    const quintptr LParam;
};
