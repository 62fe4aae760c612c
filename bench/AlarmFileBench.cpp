// How long the alarm file operations take on the simulated handheld: a tag write is a
// whole-file rewrite through a temporary file, so it is the cost to watch.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "FreshHandheld.h"
#include "alarms/CAlarmDB.h"

namespace {

std::filesystem::path make_device() { return bench::select_fresh_handheld("bench"); }

// A file holding every tag an alarm normally has.
void fill(CAlarmDB& alarm) {
    alarm.SetDescription(u"Wake up and switch on the radio");
    alarm.SetAlarmTime(6, 45);
    alarm.SetDays(0x1F);
    alarm.SetSoundFile(u"\\My Documents\\Alarm.wav");
    alarm.SetSoundVolume(6);
    alarm.SetSoundRepeat(3);
    alarm.SetSoundPause(5);
    alarm.SetActive(1);
    alarm.SetIrDatabase(u"1");
    alarm.SetPlaySound(1);
    alarm.SetBeamIr(1);
    alarm.SetReplayInterval(5);
    alarm.SetIrRepeat(0);
}

void BM_WriteTagInFullAlarm(benchmark::State& state) {
    const auto root = make_device();
    CAlarmDB alarm;
    alarm.Create(u"\\1.kivo");
    fill(alarm);
    int second = 0;
    for (auto _ : state) benchmark::DoNotOptimize(alarm.SetRefireTime(7, 0, ++second % 60));
    alarm.Close();
    bench::remove_handheld(root);
}
BENCHMARK(BM_WriteTagInFullAlarm)->Unit(benchmark::kMicrosecond);

void BM_OpenAndReadEveryTag(benchmark::State& state) {
    const auto root = make_device();
    {
        CAlarmDB alarm;
        alarm.Create(u"\\1.kivo");
        fill(alarm);
    }
    for (auto _ : state) {
        CAlarmDB alarm;
        alarm.Open(u"\\1.kivo");
        std::u16string text;
        int hour = 0, minute = 0;
        std::uint8_t byte = 0;
        std::uint16_t word = 0;
        alarm.ReadDescription(text);
        alarm.GetAlarmTime(hour, minute);
        alarm.GetDays(byte);
        alarm.ReadSoundFile(text);
        alarm.GetSoundVolume(word);
        alarm.GetSoundRepeat(word);
        alarm.GetSoundPause(word);
        alarm.GetActive(byte);
        alarm.ReadIrDatabase(text);
        alarm.GetPlaySound(byte);
        alarm.GetBeamIr(byte);
        alarm.GetReplayInterval(byte);
        benchmark::DoNotOptimize(alarm.GetIrRepeat(byte));
    }
    bench::remove_handheld(root);
}
BENCHMARK(BM_OpenAndReadEveryTag)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
