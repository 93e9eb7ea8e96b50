#include "speech/espeaksynthesizer.h"

#include <QMutexLocker>
#include <QObject>
#include <QtEndian>

#include <espeak-ng/speak_lib.h>

namespace {

// Longer texts are not words; they would also hold the worker for long.
constexpr int MaximumTextLength = 200;
// Ten seconds of speech at the library's rate is far beyond any word.
constexpr qsizetype MaximumSamples = 22050 * 10;

struct Collected
{
    QByteArray pcm;
    bool tooLong = false;
};

int collectSamples(short* samples, int count, espeak_EVENT* events)
{
    // Every event carries the user data given to espeak_Synth().
    auto* collected = events ? static_cast<Collected*>(events->user_data) : nullptr;
    if (!collected || !samples || count <= 0)
        return 0;
    if (collected->pcm.size() / 2 + count > MaximumSamples) {
        collected->tooLong = true;
        return 1; // stops the synthesis
    }
    const qsizetype at = collected->pcm.size();
    collected->pcm.resize(at + qsizetype(count) * 2);
    for (int i = 0; i < count; ++i)
        qToLittleEndian(qint16(samples[i]), collected->pcm.data() + at + 2 * i);
    return 0;
}

QByteArray wavFile(const QByteArray& pcm, int rate)
{
    auto le32 = [](quint32 v) { QByteArray b(4, '\0'); qToLittleEndian(v, b.data()); return b; };
    auto le16 = [](quint16 v) { QByteArray b(2, '\0'); qToLittleEndian(v, b.data()); return b; };
    // 16-bit mono PCM, the library's own output.
    return QByteArray("RIFF") + le32(quint32(36 + pcm.size())) + QByteArray("WAVEfmt ") + le32(16) + le16(1)
        + le16(1) + le32(quint32(rate)) + le32(quint32(rate * 2)) + le16(2) + le16(16) + QByteArray("data")
        + le32(quint32(pcm.size())) + pcm;
}

} // namespace

std::shared_ptr<SpeechSynthesizer> EspeakSynthesizer::shared()
{
    static const std::shared_ptr<SpeechSynthesizer> instance(new EspeakSynthesizer);
    return instance;
}

EspeakSynthesizer::~EspeakSynthesizer()
{
    if (started)
        espeak_Terminate();
}

QString EspeakSynthesizer::name() const
{
    return QStringLiteral("espeak-ng");
}

QString EspeakSynthesizer::voiceFor(const QString& language)
{
    const QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    // The voices the shipped recordings were made with.
    if (code == QLatin1String("en"))
        return QStringLiteral("en-us");
    if (code == QLatin1String("fr"))
        return QStringLiteral("fr-fr");
    return code;
}

bool EspeakSynthesizer::start(QString* error)
{
    if (!started && !failedToStart) {
        sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        failedToStart = sampleRate <= 0;
        started = !failedToStart;
        if (started)
            espeak_SetSynthCallback(collectSamples);
    }
    if (failedToStart && error)
        *error = QObject::tr("синтезатор речи espeak-ng не запустился (нет его данных?)");
    return started;
}

QByteArray EspeakSynthesizer::synthesize(const QString& text, const QString& language, QString* error)
{
    const QString word = text.trimmed();
    if (word.isEmpty() || word.size() > MaximumTextLength) {
        if (error)
            *error = QObject::tr("нечего произносить");
        return QByteArray();
    }
    QMutexLocker lock(&mutex);
    if (!start(error))
        return QByteArray();

    const QString voice = voiceFor(language);
    if (voice.isEmpty() || voice != currentVoice) {
        const QByteArray name = voice.toLatin1();
        espeak_VOICE wanted{};
        wanted.languages = name.constData();
        // Not finding the voice keeps the previous one, which must not be used.
        if (voice.isEmpty() || espeak_SetVoiceByProperties(&wanted) != EE_OK) {
            currentVoice.clear();
            if (error)
                *error = QObject::tr("нет голоса для языка «%1»").arg(language);
            return QByteArray();
        }
        currentVoice = voice;
    }

    const QByteArray utf8 = word.toUtf8();
    Collected collected;
    const espeak_ERROR result = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, &collected);
    if (result != EE_OK || collected.tooLong || collected.pcm.isEmpty()) {
        if (error)
            *error = QObject::tr("синтезатор речи не произнёс слово");
        return QByteArray();
    }
    return wavFile(collected.pcm, sampleRate);
}
