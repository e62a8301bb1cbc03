#pragma once
// Page-header texts and flags of the text-mode printer component.

#include <QObject>
#include <QString>

class THeaderData : public QObject {
    Q_OBJECT
    Q_PROPERTY(int FirstPage MEMBER m_firstPage)
    Q_PROPERTY(bool PrintDateTime MEMBER m_printDateTime)
    Q_PROPERTY(bool PrintPageNumber MEMBER m_printPageNumber)
    Q_PROPERTY(QString Title1 MEMBER m_title1)
    Q_PROPERTY(QString Title2 MEMBER m_title2)
    Q_PROPERTY(QString Title3 MEMBER m_title3)
    Q_PROPERTY(QString Title4 MEMBER m_title4)
    Q_PROPERTY(QString Right2 MEMBER m_right2)
    Q_PROPERTY(QString Left2 MEMBER m_left2)
    Q_PROPERTY(QString Right3 MEMBER m_right3)
    Q_PROPERTY(QString Left3 MEMBER m_left3)
    Q_PROPERTY(QString Right4 MEMBER m_right4)
    Q_PROPERTY(QString Left4 MEMBER m_left4)
    Q_PROPERTY(QString ColHeader1 MEMBER m_colHeader1)
    Q_PROPERTY(QString ColHeader2 MEMBER m_colHeader2)
    Q_PROPERTY(QString ColHeader3 MEMBER m_colHeader3)
public:
    explicit THeaderData(QObject* parent = nullptr) : QObject(parent) {}

    int FirstPage() const { return m_firstPage; }
    void SetFirstPage(int v) { m_firstPage = v; }
    bool PrintDateTime() const { return m_printDateTime; }
    void SetPrintDateTime(bool v) { m_printDateTime = v; }
    bool PrintPageNumber() const { return m_printPageNumber; }
    void SetPrintPageNumber(bool v) { m_printPageNumber = v; }
    QString Title1() const { return m_title1; }
    QString Title2() const { return m_title2; }
    QString Title3() const { return m_title3; }
    QString Title4() const { return m_title4; }
    QString Right2() const { return m_right2; }
    QString Left2() const { return m_left2; }
    QString Right3() const { return m_right3; }
    QString Left3() const { return m_left3; }
    QString Right4() const { return m_right4; }
    QString Left4() const { return m_left4; }
    QString ColHeader1() const { return m_colHeader1; }
    QString ColHeader2() const { return m_colHeader2; }
    QString ColHeader3() const { return m_colHeader3; }

private:
    int m_firstPage = 0;
    bool m_printDateTime = true;
    bool m_printPageNumber = true;
    QString m_title1, m_title2, m_title3, m_title4;
    QString m_right2, m_left2, m_right3, m_left3, m_right4, m_left4;
    QString m_colHeader1, m_colHeader2, m_colHeader3;
};
