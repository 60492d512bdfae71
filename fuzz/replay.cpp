// A main for a fuzz target without libFuzzer or sanitizers: runs each file named on the command
// line through LLVMFuzzerTestOneInput once, so a corpus can be replayed under valgrind, which sees
// into the libraries that the sanitizers do not instrument (libcdio). After a normal build in
// build/, for example:
//
//   g++ -std=c++20 -g -O1 -fPIC -Ifuzz -Isrc/disc fuzz/replay.cpp fuzz/fuzz_disc.cpp \
//       build/src/disc/libcorvanta_disc.a \
//       $(pkg-config --cflags --libs Qt6Core libcdio sndfile) -o /tmp/replay_disc
//   valgrind -q --error-exitcode=9 /tmp/replay_disc build-fuzz/corpus/disc/*

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %d inputs\n", argc - 1);
    return 0;
}
