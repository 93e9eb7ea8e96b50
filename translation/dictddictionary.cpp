#include "translation/dictddictionary.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "translation/dictzipfile.h"

namespace {

// An index larger than this is not a dictionary one would install.
constexpr qint64 maxIndexSize = 128 * 1024 * 1024;
// A headword with more articles than this is damage, not a dictionary.
constexpr int maxArticles = 32;

bool isMetadata(QByteArrayView headword)
{
    // dictfmt's own entries: the database name, its info, the "utf8" flag.
    return headword.startsWith("00-database") || headword.startsWith("00database");
}

} // namespace

DictdDictionary::DictdDictionary(const QString& indexFile)
    : indexFile(indexFile)
    , baseName(QFileInfo(indexFile).completeBaseName())
{
}

DictdDictionary::~DictdDictionary() = default;

QString DictdDictionary::articleFile(const QString& indexFile)
{
    QString stem = indexFile;
    if (stem.endsWith(QLatin1String(".index")))
        stem.chop(6);
    for (const char* suffix : {".dict.dz", ".dict.gz", ".dict"}) {
        const QString candidate = stem + QLatin1String(suffix);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}

QString DictdDictionary::key(const QString& word)
{
    return word.simplified().toLower();
}

QString DictdDictionary::strippedKey(const QString& word)
{
    QString stripped;
    const QString lowered = key(word);
    stripped.reserve(lowered.size());
    for (const QChar c : lowered) {
        if (c.isLetterOrNumber() || c == QLatin1Char(' '))
            stripped.append(c);
    }
    return stripped.simplified();
}

qint64 DictdDictionary::decodeNumber(QByteArrayView digits)
{
    // Eight digits are 48 bits, more than any article file holds.
    if (digits.isEmpty() || digits.size() > 8)
        return -1;
    qint64 value = 0;
    for (const char c : digits) {
        const uchar u = uchar(c);
        int digit;
        if (u >= 'A' && u <= 'Z')
            digit = u - 'A';
        else if (u >= 'a' && u <= 'z')
            digit = u - 'a' + 26;
        else if (u >= '0' && u <= '9')
            digit = u - '0' + 52;
        else if (u == '+')
            digit = 62;
        else if (u == '/')
            digit = 63;
        else
            return -1;
        value = value * 64 + digit;
    }
    return value;
}

void DictdDictionary::load()
{
    loaded = true;
    const QString articles = articleFile(indexFile);
    QFile file(indexFile);
    if (articles.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > maxIndexSize)
        return;
    data = std::make_unique<DictzipFile>(articles);
    if (!data->isValid()) {
        data.reset();
        return;
    }
    const QByteArray text = file.readAll();
    index.reserve(text.count('\n') + 1);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line(text.constData() + start, end - start);
        start = end + 1;
        const qsizetype firstTab = line.indexOf('\t');
        if (firstTab <= 0)
            continue;
        const qsizetype secondTab = line.indexOf('\t', firstTab + 1);
        if (secondTab < 0)
            continue;
        qsizetype thirdTab = line.indexOf('\t', secondTab + 1);
        if (thirdTab < 0)
            thirdTab = line.size();
        const QByteArrayView headword = line.first(firstTab);
        if (isMetadata(headword))
            continue;
        QByteArrayView lengthDigits = line.sliced(secondTab + 1, thirdTab - secondTab - 1);
        if (lengthDigits.endsWith('\r'))
            lengthDigits.chop(1);
        const qint64 offset = decodeNumber(line.sliced(firstTab + 1, secondTab - firstTab - 1));
        const qint64 length = decodeNumber(lengthDigits);
        if (offset < 0 || length <= 0)
            continue;
        QList<Location>& locations = index[key(QString::fromUtf8(headword))];
        if (locations.size() < maxArticles)
            locations.append(Location{offset, length});
    }
}

bool DictdDictionary::isValid() const
{
    return QFileInfo::exists(indexFile) && !articleFile(indexFile).isEmpty();
}

int DictdDictionary::size() const
{
    return int(index.size());
}

QList<DictdDictionary::Location> DictdDictionary::find(const QString& word)
{
    if (!loaded)
        load();
    if (!data)
        return {};
    const auto exact = index.constFind(key(word));
    if (exact != index.constEnd())
        return exact.value();
    return index.value(strippedKey(word));
}

QStringList DictdDictionary::articles(const QString& word)
{
    QStringList found;
    for (const Location& location : find(word)) {
        const QByteArray article = data->read(location.offset, location.length);
        if (!article.isEmpty())
            found.append(QString::fromUtf8(article));
    }
    return found;
}

void DictdDictionary::forEachArticle(
    const std::function<void(const QString& headword, const QString& article)>& visit)
{
    if (!loaded)
        load();
    if (!data)
        return;
    const QByteArray text = data->readAll();
    for (auto entry = index.cbegin(); entry != index.cend(); ++entry) {
        for (const Location& location : entry.value()) {
            if (location.offset + location.length <= text.size())
                visit(entry.key(), QString::fromUtf8(text.constData() + location.offset,
                                                     qsizetype(location.length)));
        }
    }
}
