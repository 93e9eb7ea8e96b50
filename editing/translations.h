#pragma once

#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class Translator;
class Workspace;

/*
    Translates a whole list of words at once and files every answer under the
    position of its word.
*/
class Translations : public QObject
{
    Q_OBJECT

public:
    /*! Translates with the settings, translator settings and dictionaries of \a workspace. */
    explicit Translations(Workspace* workspace, QObject* parent = nullptr);

    /* Starts a batch: requests a translation of every word of \a words and
        forgets the results and the outstanding requests of an earlier batch. */
    void translate(const QStringList& words, bool reverse = false);
    /* The translation of the word at \a position; empty if none arrived. */
    QString translation(int position) const;
    /* The number of words whose answer has arrived. */
    int count() const;
    /* The number of answers that brought a translation. */
    int translatedCount() const;
    /* Why answers came empty, each reason with the number of words it
        concerns. */
    QMap<QString, int> failures() const { return reasons; }
    /* Drops the results; the words stay until the next batch. */
    void clear();

signals:
    /* An answer was filed; \a count is count() after it. */
    void received(int count);

private slots:
    void setFailure(int key, const QString& article, const QString& failure);
    void setTranslation(int key, const QString& translation);

private:
    Workspace* workspace;
    Translator* translator = nullptr;
    QStringList words;
    QHash<int, int> positions;
    QMap<int, QString> results;
    QMap<QString, int> reasons;
};
