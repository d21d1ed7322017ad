#include "core/model/gStrings.h"

#include "core/base/gError.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <algorithm>

QHash<int, QString> gParseStringTable(const QByteArray& utf8) {
    QHash<int, QString> out;
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0) continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (!ok) continue;
        QString text;
        const QString raw = line.mid(tab + 1);
        for (int i = 0; i < raw.size(); ++i) {
            if (raw[i] == QLatin1Char('\\') && i + 1 < raw.size()) {
                const QChar n = raw[++i];
                if (n == QLatin1Char('r'))
                    text += QLatin1Char('\r');
                else if (n == QLatin1Char('n'))
                    text += QLatin1Char('\n');
                else if (n == QLatin1Char('t'))
                    text += QLatin1Char('\t');
                else
                    text += n;
            } else {
                text += raw[i];
            }
        }
        out.insert(id, text);
    }
    return out;
}

namespace {
const QHash<int, QString>& table() {
    static const QHash<int, QString> t = [] {
        QFile f(QStringLiteral(":/res/strings.txt"));
        if (!f.open(QIODevice::ReadOnly)) return QHash<int, QString>();
        return gParseStringTable(f.readAll());
    }();
    return t;
}
} // namespace

std::optional<QString> gTryResString(int id) {
    auto it = table().constFind(id);
    if (it == table().cend()) return std::nullopt;
    return *it;
}

QString gLoadResString(int id) {
    auto s = gTryResString(id);
    if (!s) gRaise(gErr::ResourceNotFound);
    return *s;
}

bool gHasResString(int id) {
    return table().contains(id);
}

QList<int> gResStringIds() {
    QList<int> ids = table().keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}
