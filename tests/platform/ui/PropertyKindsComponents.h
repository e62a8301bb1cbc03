#pragma once
// Small components for building definitions in tests: a part with a real
// Left property and a holder that exposes one as a sub-object.

#include <QObject>
#include <QStringList>
#include <QVariantList>

class TTestPart : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Left MEMBER m_left)
    Q_PROPERTY(QStringList Items MEMBER m_items)
    Q_PROPERTY(QVariantList Rows MEMBER m_rows)
    Q_PROPERTY(qint16 Spacing MEMBER m_spacing)
public:
    explicit TTestPart(QObject* parent) : QObject(parent) {}
    int m_left = 0;
    QStringList m_items;
    QVariantList m_rows;
    qint16 m_spacing = 0;
};

class TTestHolder : public QObject {
    Q_OBJECT
    Q_PROPERTY(TTestPart* Part READ Part)
public:
    TTestHolder() : m_part(new TTestPart(this)) {}
    TTestPart* Part() const { return m_part; }

private:
    TTestPart* m_part;
};
