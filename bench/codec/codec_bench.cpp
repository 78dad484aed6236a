#include <benchmark/benchmark.h>

#include "codec/cell_broadcast.h"
#include "codec/septets.h"
#include "codec/sms_deliver.h"
#include "codec/sms_submit.h"

namespace {

// 160 codes of ordinary text, the longest a single 7-bit message carries.
std::string Text160()
{
    const std::string line = "The quick brown fox jumps over the lazy dog 0123456789. ";
    std::string text;
    while (text.size() < 160)
        text += line;
    text.resize(160);
    return text;
}

std::string Deliver160()
{
    TSMSDeliver sms;
    sms.SetOA("+491701234567");
    sms.SetSCTS(38000.5);
    sms.SetSCTSTZ(4);
    sms.SetUD(Text160());
    return "07919471000000F0" + sms.PDU().substr(2);  // with a real service centre field
}

void FillSubmit160(TSMSSubmit& sms)
{
    sms.SetDA("+491701234567");
    sms.SetVPF(kVPFRelative);
    sms.SetVP(1.0);
    sms.SetUD(Text160());
}

void DecodeDeliver160(benchmark::State& state)
{
    const std::string pdu = Deliver160();
    TSMSDeliver sms;
    for (auto _ : state) {
        sms.SetPDU(pdu);
        benchmark::DoNotOptimize(sms.UD().data());
    }
}
BENCHMARK(DecodeDeliver160);

void EncodeSubmit160(benchmark::State& state)
{
    TSMSSubmit sms;
    FillSubmit160(sms);
    for (auto _ : state) {
        std::string pdu = sms.PDU();
        benchmark::DoNotOptimize(pdu.data());
    }
}
BENCHMARK(EncodeSubmit160);

void PackSeptets160(benchmark::State& state)
{
    const std::string codes = Text160();
    for (auto _ : state) {
        std::string packed = PackSeptets(codes);
        benchmark::DoNotOptimize(packed.data());
    }
}
BENCHMARK(PackSeptets160);

void UnpackSeptets160(benchmark::State& state)
{
    const std::string packed = PackSeptets(Text160());
    for (auto _ : state) {
        std::string codes = UnpackSeptets(packed);
        benchmark::DoNotOptimize(codes.data());
    }
}
BENCHMARK(UnpackSeptets160);

void DecodeCellBroadcastPage(benchmark::State& state)
{
    TCellBroadcast page;
    page.SetMessageId(50);
    page.SetUD(Text160().substr(0, 93));
    const std::string pdu = page.PDU();
    for (auto _ : state) {
        page.SetPDU(pdu);
        benchmark::DoNotOptimize(page.UD().data());
    }
}
BENCHMARK(DecodeCellBroadcastPage);

}  // namespace

BENCHMARK_MAIN();
