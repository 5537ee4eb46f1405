// The certify report of a tally made by hand, whose figures are known without the run: first
// deals exactly in the shares of their quota tables, and quota tables chosen exactly 6 in 10
// stingy, fit with a statistic of 0 on 11 and 1 degrees of freedom.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "tools/sim/certify.h"

namespace fruvana::sim {
namespace {

TEST(CertifyReport, AHandMadeTallyFitsItsTablesExactly) {
    CertifyTally t;
    // The quotas per thousand of each table, ten thousand first deals each.
    const int generous[] = {1, 2, 7, 10, 15, 20, 35, 50, 75, 100, 200, 485};
    const int stingy[] = {1, 1, 2, 2, 3, 4, 5, 10, 20, 30, 50, 872};
    for (std::size_t c = 0; c < kClassCount; ++c) {
        t.firstByTable[0].slots[c] = std::int64_t{10} * generous[c];
        t.firstByTable[1].slots[c] = std::int64_t{10} * stingy[c];
    }
    t.tableChoice[0] = {4000, 6000};
    SimOptions options;
    options.pulls = 20000;
    std::ostringstream report;
    writeCertify(report, options, 5, t, false);
    // Each test's line: its name, a statistic of 0 (to rounding), then the rest as written.
    std::istringstream lines(report.str());
    std::map<std::string, std::string> rest;
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 70) rest[line.substr(0, 50)] = line.substr(line.size() - 21);
    for (const auto& [name, tail] : std::map<std::string, std::string>{
             {"first-deal classes, generous table (chi-square)   ", "11     1.000000  PASS"},
             {"first-deal classes, stingy table (chi-square)     ", "11     1.000000  PASS"},
             {"quota table, not ahead: 6 in 10 stingy (chi-square", " 1     1.000000  PASS"},
             {"every prize at least once in 100000000 games      ", " -     1.000000  PASS"}})
        EXPECT_EQ(rest[name], tail) << name << "\n" << report.str();
    EXPECT_NE(report.str().find("4 of 4 tests pass at 99 %"), std::string::npos);
}

}  // namespace
}  // namespace fruvana::sim
