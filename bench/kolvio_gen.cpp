// kolvio-gen DIR RIDES [SEED]: writes a synthetic training diary (gen_diary.h).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gen_diary.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Použití: kolvio-gen ADRESÁŘ POČET_JÍZD [SEMÍNKO]\n");
        return 2;
    }
    kolvio::bench::DiaryOptions options;
    options.rides = std::strtoll(argv[2], nullptr, 10);
    if (argc > 3) options.seed = std::strtoull(argv[3], nullptr, 10);
    const auto t0 = std::chrono::steady_clock::now();
    const kolvio::Status st = kolvio::bench::GenerateDiary(argv[1], options);
    if (!st.ok()) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%lld jízd zapsáno do %s za %.1f s\n", static_cast<long long>(options.rides),
                argv[1], s);
    return 0;
}
