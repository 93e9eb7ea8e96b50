#include "config/settings.h"

#include <QDir>
#include <QSettings>

#include "session/datafolders.h"

QString dictionariesPath;
QString learnedWordsName = DataFolders::learnedWordsFileName();

bool mwToolBar = true;
bool mwStatusBar = true;
bool mwFinderBar = false;
bool mwAlwaysOnTop = false;
QSize mwSize;
QPoint mwPos;
bool edTranscription = false;
bool edTranslation = true;
bool umdStem = false;
bool umdTranslate = false;
bool umdExcludeLearned = true;
bool umdToLower = true;
bool umdStandardDirection = false;
int udPrimaryLanguage = 0x04090409;
int udSecondaryLanguage = 0x04190419;
int mdModelIndex = 0;
QList<QVariant> mdUserModel;
bool speakEnabled = true;
bool transcriptionEnabled = true;
QList<QVariant> learningModel;
QString currentFileName;
QString transcriptionFileName;
QStringList recentFiles;
QString interfaceLanguage;
QString learningLanguage;
QString nativeStyle;
QString styleName;
QFont interfaceFont;
QFont lessonFont;
int learnedCount = 0;
int mistakesCount = 0;
int reviewedCount = 0;
QSize edSize;
double reviewRetention = 0.9;
qint64 learningTime = 0;

QString plainCardStyleSheet;
QString choiceCardStyleSheet;
QString answerButtonStyleSheet;
QString wrongAnswerStyleSheet;
QString stackStyleSheet;

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

int modelLength()
{
    return learningModel.isEmpty() ? 1 : int(learningModel.size());
}

int modelStep(int index)
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

void readSettings()
{
    dictionariesPath = QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries/");

    QSettings s(QSettings::NativeFormat, QSettings::UserScope, storeName(), storeName());
    mwToolBar = s.value(QStringLiteral("MW_toolBar"), true).toBool();
    mwStatusBar = s.value(QStringLiteral("MW_statusBar"), true).toBool();
    mwFinderBar = s.value(QStringLiteral("MW_finderBar"), false).toBool();
    mwAlwaysOnTop = s.value(QStringLiteral("MW_alwaysOnTop"), false).toBool();
    mwSize = s.value(QStringLiteral("MW_size"), QSize(400, 400)).toSize();
    mwPos = s.value(QStringLiteral("MW_pos"), QPoint(250, 250)).toPoint();
    edTranscription = s.value(QStringLiteral("ED_transcription"), false).toBool();
    edTranslation = s.value(QStringLiteral("ED_translation"), true).toBool();
    umdStem = s.value(QStringLiteral("UMD_stem"), false).toBool();
    umdTranslate = s.value(QStringLiteral("UMD_translate"), false).toBool();
    umdExcludeLearned = s.value(QStringLiteral("UMD_excludeLearned"), true).toBool();
    umdToLower = s.value(QStringLiteral("UMD_toLower"), true).toBool();
    umdStandardDirection = s.value(QStringLiteral("UMD_standardDirection")).toBool();
    udPrimaryLanguage = s.value(QStringLiteral("UD_primaryLanguage"), 67699721).toInt();
    udSecondaryLanguage = s.value(QStringLiteral("UD_secondaryLanguage"), 68748313).toInt();
    mdModelIndex = s.value(QStringLiteral("MD_modelIndex"), 0).toInt();
    mdUserModel = validSteps(s.value(QStringLiteral("MD_userModel"), QList<QVariant>()).toList());
    speakEnabled = s.value(QStringLiteral("speak"), true).toBool();
    transcriptionEnabled = s.value(QStringLiteral("transcription"), true).toBool();
    // A model with no usable step would leave the lesson selector nothing to
    // pick from, so a damaged value falls back to the default model.
    learningModel = sanitizedModel(
        s.value(QStringLiteral("model"), defaultLearningModel()).toList());
    currentFileName = s.value(QStringLiteral("fileName"),
                              QString(dictionariesPath + QStringLiteral("default"))).toString();
    transcriptionFileName = s.value(QStringLiteral("transcriptionFileName"),
                                    QStringLiteral("English")).toString();
    recentFiles = s.value(QStringLiteral("recentFiles"), QStringList()).toStringList();
    interfaceLanguage = s.value(QStringLiteral("interfaceLanguage"), QStringLiteral("ru")).toString();
    learningLanguage = s.value(QStringLiteral("learningLanguage"), QStringLiteral("en")).toString();
    nativeStyle = s.value(QStringLiteral("nativeStyle")).toString();
    styleName = s.value(QStringLiteral("style"), QStringLiteral("cleanlooks")).toString();
    interfaceFont = QFont();
    interfaceFont.setFamily(s.value(QStringLiteral("interfaceFontFamily"),
                                    QStringLiteral("Sans Serif")).toString());
    const int interfaceSize = s.value(QStringLiteral("interfaceFontSize"), 10).toInt();
    interfaceFont.setPointSize(sensibleFontSize(interfaceSize, 10, MaximumInterfaceFontSize));
    lessonFont = QFont();
    lessonFont.setFamily(s.value(QStringLiteral("lessonFontFamily"),
                                 QStringLiteral("Sans Serif")).toString());
    const int lessonSize = s.value(QStringLiteral("lessonFontSize"), 12).toInt();
    lessonFont.setPointSize(sensibleFontSize(lessonSize, 12, MaximumLessonFontSize));
    learnedCount = s.value(QStringLiteral("learnedCount"), 0).toInt();
    mistakesCount = s.value(QStringLiteral("mistakesCount"), 0).toInt();
    reviewedCount = s.value(QStringLiteral("reviewedCount"), 0).toInt();
    edSize = s.value(QStringLiteral("ED_size"), QSize(720, 520)).toSize().boundedTo(QSize(4000, 3000));
    reviewRetention = qBound(0.7, s.value(QStringLiteral("reviewRetention"), 0.9).toDouble(), 0.99);
    // The total is a duration in "learningSeconds"; a store written before
    // it existed has only the time of day under "learningTime".
    const QVariant seconds = s.value(QStringLiteral("learningSeconds"));
    const QTime timeOfDay = s.value(QStringLiteral("learningTime"), QTime(0, 0, 0, 0)).toTime();
    learningTime = seconds.isValid() ? qMax<qint64>(0, seconds.toLongLong())
                                     : (timeOfDay.isValid() ? QTime(0, 0, 0, 0).secsTo(timeOfDay) : 0);

    plainCardStyleSheet = QStringLiteral("QGroupBox {border: 1px solid white}");
    choiceCardStyleSheet = QStringLiteral(
        "QGroupBox {background-color: #D0DAFF;border: 1px solid #96978B; border-radius: 4px}");
    answerButtonStyleSheet = QStringLiteral(
        "QPushButton {outline:none; border: 1px solid #96978B;border-radius: 4px; color: black}"
        ":hover,:focus {background-color: #D0DAFF}"
        ":checked {border: 1px solid #96978B;background-color: #BCFFB2}");
    wrongAnswerStyleSheet = QStringLiteral(
        "QPushButton {border: 1px solid #96978B;border-radius: 4px; color: black;"
        "background-color: #FFB2E2}");
    stackStyleSheet = QStringLiteral("QStackedWidget {background: white}");
}

namespace {
bool settingsUnwritten = false;
} // namespace

void keepSettingsUnwritten()
{
    settingsUnwritten = true;
}

void writeSettings()
{
    if (settingsUnwritten)
        return;
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, storeName(), storeName());
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
