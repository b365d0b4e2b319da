// Cost of each acceptance step on the largest realistic feed, all on the same bytes, so the
// ratios between the cases are the figures that matter: full acceptance against the signature
// check alone, and parsing one long string against parsing fifty messages.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "messages/messages.h"
#include "model_store/embedded_key.h"
#include "signature/signature.h"
#include "support/dev_signer.h"
#include "support/sample_feeds.h"
#include "verify_feed/verify_feed.h"

namespace {

struct SignedFeed {
    std::string bytes;
    std::string signature;
};

const SignedFeed& realistic() {
    static const SignedFeed feed = [] {
        std::string bytes = mt::testing::largest_realistic_feed();
        std::string signature = mt::testing::dev_sign_hex(bytes);
        if (!mt::verify_feed(bytes, signature)) {
            std::fputs("the benchmark feed is not accepted\n", stderr);
            std::abort();
        }
        return SignedFeed{std::move(bytes), std::move(signature)};
    }();
    return feed;
}

void report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["feed_bytes"] = static_cast<double>(bytes);
}

void BM_SignatureOnly(benchmark::State& state) {
    const SignedFeed& feed = realistic();
    for (auto _ : state) {
        auto verified = mt::verify_feed_signature(mt::load_models_pubkey(), feed.bytes, feed.signature);
        benchmark::DoNotOptimize(verified);
    }
    report(state, feed.bytes.size());
}

void BM_ParseOnly(benchmark::State& state) {
    const SignedFeed& feed = realistic();
    for (auto _ : state) {
        auto parsed = mt::parse_feed(feed.bytes);
        benchmark::DoNotOptimize(parsed);
    }
    report(state, feed.bytes.size());
}

void BM_ParseAndRules(benchmark::State& state) {
    const SignedFeed& feed = realistic();
    for (auto _ : state) {
        auto accepted = mt::accept_unauthenticated_document(feed.bytes);
        benchmark::DoNotOptimize(accepted);
    }
    report(state, feed.bytes.size());
}

void BM_VerifyFeed(benchmark::State& state) {
    const SignedFeed& feed = realistic();
    for (auto _ : state) {
        auto accepted = mt::verify_feed(feed.bytes, feed.signature);
        benchmark::DoNotOptimize(accepted);
    }
    report(state, feed.bytes.size());
}

void BM_ParseOneLongString(benchmark::State& state) {
    static const std::string bytes = mt::testing::long_string_feed();
    for (auto _ : state) {
        auto parsed = mt::parse_feed(bytes);
        benchmark::DoNotOptimize(parsed);
    }
    report(state, bytes.size());
}

}  // namespace

BENCHMARK(BM_SignatureOnly);
BENCHMARK(BM_ParseOnly);
BENCHMARK(BM_ParseAndRules);
BENCHMARK(BM_VerifyFeed);
BENCHMARK(BM_ParseOneLongString);

BENCHMARK_MAIN();
