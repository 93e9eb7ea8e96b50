#include "config/settings.h"

#include <QDir>
#include <QSettings>
#include <QTime>

#include "session/datafolders.h"

namespace {

// The store is named after the application for both organisation and application.
QString storeName()
{
    return QStringLiteral("Vocabrium");
}

} // namespace

QList<QVariant> defaultLearningModel()
{
    return {1, 2, 2, 3, 2, 4, 2, 4};
}

QList<QVariant> validSteps(const QList<QVariant>& model)
{
    QList<QVariant> result;
    for (const QVariant& step : model) {
        bool ok = false;
        const int kind = step.toInt(&ok);
        if (ok && kind >= 1 && kind <= 4)
            result.append(kind);
    }
    return result;
}

QList<QVariant> sanitizedModel(const QList<QVariant>& model)
{
    const QList<QVariant> result = validSteps(model);
    return result.isEmpty() ? defaultLearningModel() : result;
}

Settings::Settings()
    : dictionariesPath(QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries/"))
    , learnedWordsName(DataFolders::learnedWordsFileName())
    , learningModel(defaultLearningModel())
    , currentFileName(dictionariesPath + QStringLiteral("default"))
{
    interfaceFont.setFamily(QStringLiteral("Sans Serif"));
    interfaceFont.setPointSize(10);
    lessonFont.setFamily(QStringLiteral("Sans Serif"));
    lessonFont.setPointSize(12);
}

int Settings::modelLength() const
{
    return learningModel.isEmpty() ? 1 : int(learningModel.size());
}

int Settings::modelStep(int index) const
{
    if (learningModel.isEmpty())
        return 1;
    index = qBound(0, index, int(learningModel.size()) - 1);
    return learningModel.at(index).toInt();
}

int sensibleFontSize(int size, int fallback, int maximum)
{
    // A hand-edited or damaged size of thousands of points would make every
    // glyph the size of the screen.
    if (size <= 0)
        return fallback;
    return qBound(MinimumFontSize, size, maximum);
}

QRect fitToScreen(const QSize& size, const QPoint& position, const QRect& available)
{
    if (!available.isValid())
        return QRect(position, size);
    const QSize fitted = size.isValid() && !size.isEmpty()
                             ? size.boundedTo(available.size()).expandedTo(QSize(200, 150).boundedTo(available.size()))
                             : QSize(400, 400).boundedTo(available.size());
    // The whole window on the screen, not only a corner of it.
    const int x = qBound(available.left(), position.x(), available.right() - fitted.width() + 1);
    const int y = qBound(available.top(), position.y(), available.bottom() - fitted.height() + 1);
    return QRect(QPoint(x, y), fitted);
}

void Settings::read()
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, storeName(), storeName());
    read(store);
}

bool Settings::write() const
{
    if (unwritten)
        return false;
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, storeName(), storeName());
    write(store);
    store.sync();
    return store.status() == QSettings::NoError;
}

void Settings::read(const QSettings& s)
{
    // Every default comes from the member initialisers of a fresh object.
    const Settings d;
    mwToolBar = s.value(QStringLiteral("MW_toolBar"), d.mwToolBar).toBool();
    mwStatusBar = s.value(QStringLiteral("MW_statusBar"), d.mwStatusBar).toBool();
    mwFinderBar = s.value(QStringLiteral("MW_finderBar"), d.mwFinderBar).toBool();
    mwAlwaysOnTop = s.value(QStringLiteral("MW_alwaysOnTop"), d.mwAlwaysOnTop).toBool();
    mwSize = s.value(QStringLiteral("MW_size"), d.mwSize).toSize();
    mwPos = s.value(QStringLiteral("MW_pos"), d.mwPos).toPoint();
    edTranscription = s.value(QStringLiteral("ED_transcription"), d.edTranscription).toBool();
    edTranslation = s.value(QStringLiteral("ED_translation"), d.edTranslation).toBool();
    umdStem = s.value(QStringLiteral("UMD_stem"), d.umdStem).toBool();
    umdTranslate = s.value(QStringLiteral("UMD_translate"), d.umdTranslate).toBool();
    umdExcludeLearned = s.value(QStringLiteral("UMD_excludeLearned"), d.umdExcludeLearned).toBool();
    umdToLower = s.value(QStringLiteral("UMD_toLower"), d.umdToLower).toBool();
    umdStandardDirection = s.value(QStringLiteral("UMD_standardDirection"), d.umdStandardDirection).toBool();
    udPrimaryLanguage = s.value(QStringLiteral("UD_primaryLanguage"), d.udPrimaryLanguage).toInt();
    udSecondaryLanguage = s.value(QStringLiteral("UD_secondaryLanguage"), d.udSecondaryLanguage).toInt();
    mdModelIndex = s.value(QStringLiteral("MD_modelIndex"), d.mdModelIndex).toInt();
    mdUserModel = validSteps(s.value(QStringLiteral("MD_userModel"), d.mdUserModel).toList());
    speakEnabled = s.value(QStringLiteral("speak"), d.speakEnabled).toBool();
    transcriptionEnabled = s.value(QStringLiteral("transcription"), d.transcriptionEnabled).toBool();
    // A model with no usable step would leave the lesson selector nothing to
    // pick from, so a damaged value falls back to the default model.
    learningModel = sanitizedModel(s.value(QStringLiteral("model"), d.learningModel).toList());
    currentFileName = s.value(QStringLiteral("fileName"), d.currentFileName).toString();
    transcriptionFileName = s.value(QStringLiteral("transcriptionFileName"), d.transcriptionFileName).toString();
    recentFiles = s.value(QStringLiteral("recentFiles"), d.recentFiles).toStringList();
    interfaceLanguage = s.value(QStringLiteral("interfaceLanguage"), d.interfaceLanguage).toString();
    learningLanguage = s.value(QStringLiteral("learningLanguage"), d.learningLanguage).toString();
    nativeStyle = s.value(QStringLiteral("nativeStyle"), d.nativeStyle).toString();
    styleName = s.value(QStringLiteral("style"), d.styleName).toString();
    interfaceFont = QFont();
    interfaceFont.setFamily(s.value(QStringLiteral("interfaceFontFamily"), d.interfaceFont.family()).toString());
    interfaceFont.setPointSize(sensibleFontSize(
        s.value(QStringLiteral("interfaceFontSize"), d.interfaceFont.pointSize()).toInt(),
        d.interfaceFont.pointSize(), MaximumInterfaceFontSize));
    lessonFont = QFont();
    lessonFont.setFamily(s.value(QStringLiteral("lessonFontFamily"), d.lessonFont.family()).toString());
    lessonFont.setPointSize(sensibleFontSize(
        s.value(QStringLiteral("lessonFontSize"), d.lessonFont.pointSize()).toInt(),
        d.lessonFont.pointSize(), MaximumLessonFontSize));
    learnedCount = s.value(QStringLiteral("learnedCount"), d.learnedCount).toInt();
    mistakesCount = s.value(QStringLiteral("mistakesCount"), d.mistakesCount).toInt();
    reviewedCount = s.value(QStringLiteral("reviewedCount"), d.reviewedCount).toInt();
    edSize = s.value(QStringLiteral("ED_size"), d.edSize).toSize().boundedTo(QSize(4000, 3000));
    reviewRetention = qBound(0.7, s.value(QStringLiteral("reviewRetention"), d.reviewRetention).toDouble(), 0.99);
    // The total is a duration in "learningSeconds"; a store written before
    // it existed has only the time of day under "learningTime".
    const QVariant seconds = s.value(QStringLiteral("learningSeconds"));
    const QTime timeOfDay = s.value(QStringLiteral("learningTime"), QTime(0, 0, 0, 0)).toTime();
    learningTime = seconds.isValid() ? qMax<qint64>(0, seconds.toLongLong())
                                     : (timeOfDay.isValid() ? QTime(0, 0, 0, 0).secsTo(timeOfDay) : 0);
}

void Settings::write(QSettings& s) const
{
    s.setValue(QStringLiteral("MW_toolBar"), mwToolBar);
    s.setValue(QStringLiteral("MW_statusBar"), mwStatusBar);
    s.setValue(QStringLiteral("MW_finderBar"), mwFinderBar);
    s.setValue(QStringLiteral("MW_alwaysOnTop"), mwAlwaysOnTop);
    s.setValue(QStringLiteral("MW_size"), mwSize);
    s.setValue(QStringLiteral("MW_pos"), mwPos);
    s.setValue(QStringLiteral("ED_transcription"), edTranscription);
    s.setValue(QStringLiteral("ED_translation"), edTranslation);
    s.setValue(QStringLiteral("UMD_stem"), umdStem);
    s.setValue(QStringLiteral("UMD_translate"), umdTranslate);
    s.setValue(QStringLiteral("UMD_excludeLearned"), umdExcludeLearned);
    s.setValue(QStringLiteral("UMD_toLower"), umdToLower);
    s.setValue(QStringLiteral("UMD_standardDirection"), umdStandardDirection);
    s.setValue(QStringLiteral("UD_primaryLanguage"), udPrimaryLanguage);
    s.setValue(QStringLiteral("UD_secondaryLanguage"), udSecondaryLanguage);
    s.setValue(QStringLiteral("MD_modelIndex"), mdModelIndex);
    s.setValue(QStringLiteral("MD_userModel"), mdUserModel);
    s.setValue(QStringLiteral("speak"), speakEnabled);
    s.setValue(QStringLiteral("transcription"), transcriptionEnabled);
    s.setValue(QStringLiteral("model"), learningModel);
    s.setValue(QStringLiteral("fileName"), currentFileName);
    s.setValue(QStringLiteral("transcriptionFileName"), transcriptionFileName);
    s.setValue(QStringLiteral("recentFiles"), recentFiles);
    s.setValue(QStringLiteral("interfaceLanguage"), interfaceLanguage);
    s.setValue(QStringLiteral("learningLanguage"), learningLanguage);
    s.setValue(QStringLiteral("nativeStyle"), nativeStyle);
    s.setValue(QStringLiteral("style"), styleName);
    s.setValue(QStringLiteral("interfaceFontFamily"), interfaceFont.family());
    s.setValue(QStringLiteral("interfaceFontSize"), interfaceFont.pointSize());
    s.setValue(QStringLiteral("lessonFontFamily"), lessonFont.family());
    s.setValue(QStringLiteral("lessonFontSize"), lessonFont.pointSize());
    s.setValue(QStringLiteral("learnedCount"), learnedCount);
    s.setValue(QStringLiteral("mistakesCount"), mistakesCount);
    s.setValue(QStringLiteral("reviewedCount"), reviewedCount);
    s.setValue(QStringLiteral("ED_size"), edSize);
    s.setValue(QStringLiteral("reviewRetention"), reviewRetention);
    // Older copies read the time of day and wrap it as they always did.
    s.setValue(QStringLiteral("learningTime"), QTime(0, 0, 0, 0).addSecs(int(learningTime % (24 * 60 * 60))));
    s.setValue(QStringLiteral("learningSeconds"), learningTime);
}
