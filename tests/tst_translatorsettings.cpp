#include <memory>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "app/translatorsettingsdialog.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"
#include "translation/translatorsettings.h"

class TestTranslatorSettings : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test row, built afresh for
    // each from an empty settings store.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void dialogSetsOrderAndAddresses_data();
    void dialogSetsOrderAndAddresses();
};

void TestTranslatorSettings::init()
{
    QVERIFY(emptyHomeFolder());
    workspace = std::make_unique<Workspace>();
}

void TestTranslatorSettings::cleanup()
{
    workspace.reset();
}

void TestTranslatorSettings::dialogSetsOrderAndAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("good address") << "http://127.0.0.1:5000" << true;
    QTest::newRow("address without scheme") << "127.0.0.1:5000" << false;
}

void TestTranslatorSettings::dialogSetsOrderAndAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, accepted);
    TranslatorSettings start = workspace->translatorSettings;
    start.engines = TranslatorSettings::allEngines();
    start.libreUrl.clear();
    workspace->translatorSettings = start;

    TranslatorSettingsDialog dialog(workspace.get());
    BoxAnswerer answerer;
    QTimer::singleShot(0, &dialog, [&] {
        auto* engines = dialog.findChild<QListWidget*>();
        // LibreTranslate before the dictionaries, the V2 service switched off.
        engines->setCurrentRow(1);
        childWithText<QPushButton>(&dialog, QStringLiteral("Выше"))->click();
        engines->item(2)->setCheckState(Qt::Unchecked);
        const auto edits = dialog.findChildren<QLineEdit*>();
        for (QLineEdit* edit : edits) {
            if (edit->placeholderText() == QLatin1String("http://localhost:5000"))
                edit->setText(address);
        }
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        if (dialog.isVisible())
            dialog.reject();
    });
    QCOMPARE(dialog.exec(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));

    const TranslatorSettings now = workspace->translatorSettings;
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vocabrium"),
                          QStringLiteral("Vocabrium"));
    if (accepted) {
        QCOMPARE(now.engines, QStringList({QStringLiteral("libretranslate"), QStringLiteral("dictionaries")}));
        QCOMPARE(now.libreUrl, address);
        QCOMPARE(store.value(QStringLiteral("translatorEngines")).toString(),
                 QStringLiteral("libretranslate,dictionaries"));
        QVERIFY(answerer.texts.isEmpty());
    } else {
        QCOMPARE(now.engines, start.engines);
        QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
        QVERIFY(answerer.texts.first().contains(QStringLiteral("неверный адрес сервиса «127.0.0.1:5000»")));
    }
}

VOCABRIUM_TEST_MAIN(TestTranslatorSettings)
#include "tst_translatorsettings.moc"
