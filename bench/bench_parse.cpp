// bench_parse FILE [PAIRS]: parses FILE as a skin document, side by side with
// `wc -l FILE` (process start included, as a user would run it), the two
// alternating, and prints the medians and the speed ratio. Run by
// zip_bench.sh on its 20 MB skin text.

#include "document/DocumentText.h"
#include "document/IniStore.h"
#include "document/MemoryStream.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace fabulor;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool runWc(const char* path)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char wc[] = "wc";
    char l[] = "-l";
    std::string file = path;
    char* argv[] = {wc, l, file.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "wc", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_parse FILE [PAIRS]\n");
        return 2;
    }
    const int pairs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MemoryStream stream(std::move(bytes));
    std::vector<double> parse;
    std::vector<double> wc;
    std::size_t found = 0;
    for (int i = 0; i < pairs; ++i) {
        auto start = Clock::now();
        if (!runWc(argv[1])) {
            std::fprintf(stderr, "bench_parse: wc -l failed\n");
            return 1;
        }
        wc.push_back(secondsSince(start));
        start = Clock::now();
        {
            IniStore store;
            stream.rewind();
            LoadDocumentBytes(store, stream);
            found += store.hasSection("Skin") ? 1 : 0;
        }
        parse.push_back(secondsSince(start));
    }
    const double p = median(parse);
    const double w = median(wc);
    std::printf("parse:   document %6.3f s   wc -l    %6.3f s   speed ratio %.2f (goal >= 0.50) %s\n", p, w,
                w / p, found == static_cast<std::size_t>(pairs) ? "" : " (document not read)");
    return 0;
}
