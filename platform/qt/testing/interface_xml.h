#pragma once
// The properties an interface declares in its introspection XML, so a stand-in
// serves exactly what the real service does and refuses what it would refuse.

#include <QFile>
#include <QMap>
#include <QString>
#include <QXmlStreamReader>

namespace tv::standin {

struct DeclaredProperty {
    QString type;
    bool writable = false;
};

// interface name → property name → declaration; empty when the file cannot be read.
inline QMap<QString, QMap<QString, DeclaredProperty>> declaredProperties(const QString& path) {
    QMap<QString, QMap<QString, DeclaredProperty>> found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return found;
    }
    QXmlStreamReader xml(&file);
    QString interface;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QStringLiteral("interface")) {
            interface = attributes.value(QStringLiteral("name")).toString();
        } else if (xml.name() == QStringLiteral("property")) {
            found[interface][attributes.value(QStringLiteral("name")).toString()] = {
                attributes.value(QStringLiteral("type")).toString(),
                attributes.value(QStringLiteral("access"))
                    .toString()
                    .contains(QStringLiteral("write"))};
        }
    }
    return found;
}

inline QString readXml(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace tv::standin
