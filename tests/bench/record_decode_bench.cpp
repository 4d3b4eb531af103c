// Decoding a record (key schedule, decipher, two CRCs, inflate) against a
// plain raw inflate of the same deflate stream, for a large and a small
// record. Prints each throughput and the ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "store/key_block.h"
#include "store/key_block_data.h"
#include "store/record.h"
#include "store/record_builder.h"

namespace {

struct Sample {
    std::vector<std::uint8_t> content;
    std::vector<std::uint8_t> packed;
    std::vector<std::uint8_t> record;
};

// Text-like content compresses about as well as the product's documents.
std::vector<std::uint8_t> SampleContent(std::size_t size)
{
    static const char* const words[] = {"layout ", "keyboard ", "zażółć ", "gęślą ", "jaźń ", "driver ",
                                        "install\r\n", "scan ", "code ", "map "};
    std::vector<std::uint8_t> out;
    std::uint32_t state = 2463534242u;
    while (out.size() < size) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const std::string word = words[state % 10];
        out.insert(out.end(), word.begin(), word.end());
    }
    out.resize(size);
    return out;
}

KeyBlock& LoadedKeyBlock()
{
    static KeyBlock keyBlock;
    if (keyBlock.Block() == nullptr)
        keyBlock.Load(keyBlockData, int(keyBlockDataLength));
    return keyBlock;
}

const Sample& SampleOfSize(std::size_t size)
{
    static std::map<std::size_t, Sample> samples;
    auto found = samples.find(size);
    if (found != samples.end())
        return found->second;
    Sample sample;
    sample.content = SampleContent(size);
    sample.packed = DeflateRaw(sample.content.data(), size);
    sample.record = BuildPlainRecord(sample.content.data(), size, 0);
    EncipherRecord(LoadedKeyBlock(), sample.record);
    return samples.emplace(size, std::move(sample)).first->second;
}

void DecodeRecord(benchmark::State& state)
{
    const Sample& sample = SampleOfSize(std::size_t(state.range(0)));
    const KeyBlock& keyBlock = LoadedKeyBlock();
    for (auto _ : state) {
        std::uint32_t length = std::uint32_t(sample.record.size());
        std::unique_ptr<std::uint8_t[]> decoded(keyBlock.DecodeRecord(sample.record.data(), length, nullptr));
        if (decoded == nullptr)
            state.SkipWithError("record did not decode");
        benchmark::DoNotOptimize(decoded.get());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}

void InflateOnly(benchmark::State& state)
{
    const Sample& sample = SampleOfSize(std::size_t(state.range(0)));
    std::vector<std::uint8_t> output(sample.content.size() + 2);
    for (auto _ : state) {
        const auto produced = InflateRaw(sample.packed.data(), std::uint32_t(sample.packed.size()), output.data(),
                                         std::uint32_t(sample.content.size()));
        if (produced != std::int64_t(sample.content.size()))
            state.SkipWithError("stream did not inflate");
        benchmark::DoNotOptimize(output.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}

BENCHMARK(DecodeRecord)->Arg(8 * 1024)->Arg(1024 * 1024);
BENCHMARK(InflateOnly)->Arg(8 * 1024)->Arg(1024 * 1024);

// Keeps each run's time per iteration so the ratios can be printed after the
// usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        for (const char* size : {"8192", "1048576"}) {
            const auto decode = seconds.find(std::string("DecodeRecord/") + size);
            const auto inflate = seconds.find(std::string("InflateOnly/") + size);
            if (decode != seconds.end() && inflate != seconds.end())
                std::printf("record of %s bytes: decode takes %.2f times as long as the inflate alone\n", size,
                            decode->second / inflate->second);
        }
    }

private:
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
