// The shutter sound carried by the program is the PCM WAV it must be: 2 channels, 44.1 kHz,
// 16 bits, 50,688 bytes of samples, and not silence.

#include "gui/camera/ShutterSound.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

using namespace portiqa;

TEST(ShutterSound, CarriedWaveIsTheDescribedPcm) {
    QFile file(ShutterSound::resourcePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_GE(wav.size(), 44);
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(u32(4), quint32(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1);     // PCM
    EXPECT_EQ(u16(22), 2);     // channels
    EXPECT_EQ(u32(24), 44100); // sample rate
    EXPECT_EQ(u16(34), 16);    // bits per sample
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(u32(40), 50688u);
    EXPECT_EQ(wav.size(), 44 + 50688);
    int loud = 0;
    for (int at = 44; at + 1 < wav.size(); at += 2) {
        loud += std::abs(qint16(u16(at))) > 8000 ? 1 : 0;
    }
    EXPECT_GT(loud, 100);
}
