#pragma once
// Masked edit. Its Text() always has one character per mask position, with a
// blank where nothing was typed ("  /  /    " for an empty date), unlike
// QLineEdit::text(), which drops the blanks.

#include <QLineEdit>

class TMaskEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    // Mask in the platform's notation "mask;keep literals;blank", for
    // example "!99/99/9999;1;_" (9: optional digit, 0: required digit).
    void SetEditMask(const QString& mask);
    QString EditMask() const { return m_editMask; }

    QString Text() const;
    // Characters are placed position by position; a blank or a character the
    // mask does not accept leaves its position empty.
    void SetText(const QString& text);
    void Clear();

private:
    QString m_editMask;
    QChar m_blank = u'_';
};
