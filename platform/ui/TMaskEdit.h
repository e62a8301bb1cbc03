#pragma once
// Masked edit. Its Text() always has one character per mask position, with a
// blank where nothing was typed ("  /  /    " for an empty date), unlike
// QLineEdit::text(), which drops the blanks.

#include <QLineEdit>

class TMaskEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(TEditCharCase CharCase READ CharCase WRITE SetCharCase)
public:
    enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
    Q_ENUM(TEditCharCase)

    explicit TMaskEdit(QWidget* parent = nullptr);

    // Mask in the platform's notation "mask;keep literals;blank", for
    // example "!99/99/9999;1;_" (9: optional digit, 0: required digit).
    void SetEditMask(const QString& mask);
    QString EditMask() const { return m_editMask; }

    // Letters typed are turned to this case.
    void SetCharCase(TEditCharCase value);
    TEditCharCase CharCase() const { return m_charCase; }

    QString Text() const;
    // Characters are placed position by position; a blank or a character the
    // mask does not accept leaves its position empty.
    void SetText(const QString& text);
    void Clear();

private:
    void ApplyMask();

    QString m_editMask;
    TEditCharCase m_charCase = ecNormal;
    QChar m_blank = u'_';
};
