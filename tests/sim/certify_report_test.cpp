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
    // Ten thousand first deals from each table, each class ten times its quota per thousand.
    t.firstByTable = {{{{10, 20, 70, 100, 150, 200, 350, 500, 750, 1000, 2000, 4850}},
                       {{10, 10, 20, 20, 30, 40, 50, 100, 200, 300, 500, 8720}}}};
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

// Ten thousand settled games at bet 1 with Second deal off, whose par is the first deal's under
// the 6 in 10 mix (360.90 %, standard deviation 20.7388): the 99 % interval is the observed
// return give or take 2.5758 x 20.7388 / 100 = 53.42 points.
TEST(CertifyReport, TheReturnsIntervalAndItsVerdict) {
    const struct {
        std::int64_t paid;
        const char* line;
    } cases[] = {
        {36090,
         "return to player 360.90 %, 99 % interval 307.48 % to 414.32 %, exact par "
         "360.90 %: inside, PASS"},
        {42000,
         "return to player 420.00 %, 99 % interval 366.58 % to 473.42 %, exact par "
         "360.90 %: outside, FAIL"},
    };
    for (const auto& c : cases) {
        CertifyTally t;
        t.games[0] = t.stake[0] = t.stakeSquared[0] = 10000;
        t.paid = c.paid;
        SimOptions options;
        options.secondDeal = false;
        std::ostringstream report;
        writeCertify(report, options, 5, t, false);
        EXPECT_NE(report.str().find(std::string(c.line) + "\n"), std::string::npos) << report.str();
    }
}

}  // namespace
}  // namespace fruvana::sim
