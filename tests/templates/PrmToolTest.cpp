// quorvane-prm as a template author runs it: the built program on real files.
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace qvn::test {
namespace {

struct ToolRun {
    int status = -1;
    std::string output; // standard output and standard error together
};

ToolRun prm(const std::string& arguments) {
    ToolRun run;
    const std::string command = std::string(QVN_PRM_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

TEST(PrmToolTest, PackUnpackPackGivesIdenticalBytesAndTheShippedFiles) {
    TestEnvironment environment;
    for (const char* name : {"turntable", "crane", "focuspull"}) {
        const std::string source = std::string(QVN_TEMPLATE_SOURCES) + "/" + name + ".xml";
        const std::string first = environment.root() + "/" + name + "1.prm";
        const std::string text = environment.root() + "/" + name + ".xml";
        const std::string second = environment.root() + "/" + name + "2.prm";
        ASSERT_EQ(prm("pack " + quoted(source) + " " + quoted(first)).status, 0) << name;
        ASSERT_EQ(prm("unpack " + quoted(first) + " " + quoted(text)).status, 0) << name;
        ASSERT_EQ(prm("pack " + quoted(text) + " " + quoted(second)).status, 0) << name;
        const std::string bytes = TestEnvironment::readFile(first);
        EXPECT_EQ(bytes.substr(0, 4), std::string("\xCA\x31\x53\x00", 4)) << name; // encoded
        EXPECT_LT(bytes.size(), TestEnvironment::readFile(text).size()) << name;
        EXPECT_EQ(TestEnvironment::readFile(second), bytes) << name;
        EXPECT_EQ(TestEnvironment::readFile(TestEnvironment::stageRoot() + "/quorvane/prm/" + name +
                                            "/" + name + ".prm"),
                  bytes)
            << name;
        // The unpacked form is readable, indented XML.
        EXPECT_NE(TestEnvironment::readFile(text).find("\n\t<customdata>"), std::string::npos);
    }
}

TEST(PrmToolTest, CheckNamesEveryControlWhoseScriptWouldNotBuild) {
    TestEnvironment environment;
    const std::string file = environment.writeFile(
        "broken.xml",
        "<QVT><QVT_Plugin><type>template</type><name>Rig</name><customdata>"
        "<input><property><name>Stick</name><finite/></property></input>"
        "<virtualdevice>"
        "<control><name>Fine</name><script><parameter>0</parameter></script>"
        "<parameters><property>Stick</property></parameters></control>"
        "<control><name>Lift arm</name>"
        "<script><lift><constant>1</constant></lift></script></control>"
        "<control><name>Empty</name></control>"
        "</virtualdevice><category>Camera</category></customdata></QVT_Plugin></QVT>");
    const ToolRun broken = prm("check " + quoted(file));
    EXPECT_EQ(broken.status, 1) << broken.output;
    for (const char* line :
         {"error: control \"Lift arm\": the script does not build", "error: control \"Empty\"",
          "property \"Stick\" (finite)", "category \"Camera\"", "2 error(s)"})
        EXPECT_NE(broken.output.find(line), std::string::npos) << line << "\n" << broken.output;
    EXPECT_EQ(broken.output.find("error: control \"Fine\""), std::string::npos);

    const std::string shipped = std::string(QVN_TEMPLATE_SOURCES) + "/crane.xml";
    EXPECT_EQ(prm("check " + quoted(shipped)).status, 0);
    EXPECT_EQ(prm("check " + quoted(environment.writeFile("plain.txt", "not xml"))).status, 1);
    EXPECT_EQ(prm("check " + quoted(environment.root() + "/missing.prm")).status, 1);
    EXPECT_EQ(prm("pack only-one-argument").status, 2);
    const std::string damaged =
        environment.writeFile("damaged.prm", "<QVT_Plugin compressed=\"1\">AAAA</QVT_Plugin>");
    EXPECT_EQ(
        prm("unpack " + quoted(damaged) + " " + quoted(environment.root() + "/out.xml")).status, 1);
}

} // namespace
} // namespace qvn::test
