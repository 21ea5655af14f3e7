#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

// An ordered set of equally sized images, addressed by index (menus, toolbar, tray frames).
class ImageList final : public QObject
{
    Q_OBJECT
public:
    explicit ImageList(QSize size, QObject *parent = nullptr) : QObject(parent), m_size(size) {}

    QSize imageSize() const { return m_size; }
    int count() const { return int(m_images.size()); }
    void add(const QIcon &icon) { m_images.append(icon); }
    void clear() { m_images.clear(); }
    // An index outside the list gives an empty icon rather than a crash.
    QIcon icon(int index) const { return index >= 0 && index < count() ? m_images.at(index) : QIcon(); }

private:
    QSize m_size;
    QList<QIcon> m_images;
};
