#pragma once
// Components for the window-definition tests: one with a published property
// of each kind the builder sets (int, string list, variant list, 16-bit int),
// and a holder that publishes one of them as a sub-object.

#include <QObject>
#include <QStringList>
#include <QVariantList>

class PropertyKindsComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Left MEMBER m_left)
    Q_PROPERTY(QStringList Items MEMBER m_items)
    Q_PROPERTY(QVariantList Rows MEMBER m_rows)
    Q_PROPERTY(qint16 Spacing MEMBER m_spacing)
public:
    explicit PropertyKindsComponent(QObject* parent) : QObject(parent) {}
    int m_left = 0;
    QStringList m_items;
    QVariantList m_rows;
    qint16 m_spacing = 0;
};

class SubComponentHolder : public QObject {
    Q_OBJECT
    Q_PROPERTY(PropertyKindsComponent* Part READ Part)
public:
    SubComponentHolder() : m_part(new PropertyKindsComponent(this)) {}
    PropertyKindsComponent* Part() const { return m_part; }

private:
    PropertyKindsComponent* m_part;
};
