// The help compiler: the fixture topics compile to the golden help file, and every kind of
// faulty source is reported with its file and line while nothing is written.
#include "process_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

const std::string help_data = std::string(VS_TEST_DATA) + "/help/";

run_result compile(const temp_dir& dir, const std::vector<std::string>& sources) {
    std::vector<std::string> argv = {std::string(VS_BIN_DIR) + "/wynhc", "-o", dir.file("out.hlp")};
    argv.insert(argv.end(), sources.begin(), sources.end());
    return run_program(argv, dir.path(), 10000);
}

std::string write(const temp_dir& dir, const std::string& name, const std::string& text) {
    std::ofstream(dir.file(name), std::ios::binary) << text;
    return dir.file(name);
}

const std::string good_contents =
    "topic: 32006\ntitle: Contents\ncontents: yes\nfile-title: T\n---\n[a](topic:5)\n";
const std::string good_topic = "topic: 5\ntitle: Five\n---\nbody\n";

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(wynhc, fixture_topics_compile_to_the_golden_file_in_any_order) {
    temp_dir dir;
    run_result run = compile(dir, {help_data + "thresholds.md", help_data + "contents.md",
                                   help_data + "help_on_help.md"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(read_file(dir.file("out.hlp")), read_file(help_data + "fixture.hlp"));
}

TEST(wynhc, crlf_sources_a_byte_order_mark_and_blank_header_lines_are_accepted) {
    temp_dir dir;
    std::string contents = "\xef\xbb\xbftopic: 32006\r\ntitle: Contents\r\n\r\ncontents: yes\r\n"
                           "file-title: T\r\nkeywords: a; ; b ;a\r\n---\r\n[a](topic:5)\r\n";
    run_result run = compile(dir, {write(dir, "c.md", contents), write(dir, "f.md", good_topic)});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string out = read_file(dir.file("out.hlp"));
    EXPECT_NE(out.find("topic 32006 8 3 14\r\nContents\r\na;b\r\n[a](topic:5)\r\n\r\n"),
              std::string::npos)
        << out;
}

TEST(wynhc, every_fault_is_reported_at_its_line_and_nothing_is_written) {
    struct fault_case {
        std::string contents;
        std::string topic;
        std::string expected;
    };
    const std::vector<fault_case> cases = {
        {good_contents, "title: Five\n---\n", "f.md:1: the header gives no topic number"},
        {good_contents, "topic: 5\n---\n", "f.md:1: the header gives no title"},
        {good_contents, "topic: 5\ntitle: Five\n", "f.md:2: the header block does not end"},
        {good_contents, "topic: 5\ntitle: Five\ncolour: red\n---\n",
         "f.md:3: unknown header key \"colour\""},
        {good_contents, "topic: 5\ntopic: 6\ntitle: Five\n---\n", "f.md:2: \"topic\" is given twice"},
        {good_contents, "topic: 0\ntitle: Five\n---\n", "f.md:1: the topic is not a number"},
        {good_contents, "topic: 2147483648\ntitle: Five\n---\n", "f.md:1: the topic is not a number"},
        {good_contents, "topic: 5x\ntitle: Five\n---\n", "f.md:1: the topic is not a number"},
        {good_contents, "topic: 32006\ntitle: Again\n---\n",
         "f.md:1: topic 32006 is already given by"},
        {good_contents, "topic: 5\ntitle: " + std::string(256, 'x') + "\n---\n",
         "f.md:2: the title is empty or longer than 255 bytes"},
        {good_contents, "topic: 5\ntitle: Five\nkeywords: " + std::string(256, 'k') + "\n---\n",
         "f.md:3: a keyword is longer"},
        {good_contents, "topic: 5\ntitle: Five\n---\ntext\n\nsee [x](topic:77) here\n",
         "f.md:6: a link to topic 77, which no source gives"},
        {good_contents, "topic: 5\ntitle: Five\n---\n[x](topic:abc)\n",
         "f.md:4: a topic link does not end in a topic number"},
        {good_contents, "topic: 5\ntitle: Five\nfile-title: X\n---\n",
         "f.md:3: file-title belongs in the contents topic only"},
        {good_contents, "topic: 5\ntitle: Five\ncontents: yes\n---\n",
         "f.md:3: a second contents topic; the first is in"},
        {good_contents, "topic: 5\ntitle: Five\n---\nbad \xff byte\n", "f.md:1: the source is not UTF-8"},
        {good_contents, "topic: 5\ntitle: Five\n---\n" + std::string((1u << 20) + 1, 'b'),
         "f.md:1: the source is larger than"},
        {"topic: 32006\ntitle: Contents\n---\n", good_topic,
         "wynhc: no source is the contents topic"},
        {"topic: 7\ntitle: Contents\ncontents: yes\nfile-title: T\n---\n", good_topic,
         "c.md:3: the contents topic must be topic 32006"},
        {"topic: 32006\ntitle: Contents\ncontents: yes\n---\n", good_topic,
         "c.md:3: the contents topic gives no file-title"},
        {"topic: 32006\ntitle: Contents\ncontents: maybe\nfile-title: T\n---\n", good_topic,
         "c.md:3: contents is \"yes\" or \"no\""},
    };
    for (const fault_case& c : cases) {
        temp_dir dir;
        run_result run = compile(dir, {write(dir, "c.md", c.contents), write(dir, "f.md", c.topic)});
        EXPECT_EQ(run.status, 1) << c.expected;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << "wanted: " << c.expected << "\ngot: " << run.err;
        EXPECT_FALSE(exists(dir.file("out.hlp"))) << c.expected;
    }
}

TEST(wynhc, a_failed_compile_leaves_the_previous_file_whole_and_bad_arguments_are_refused) {
    temp_dir dir;
    write(dir, "out.hlp", "previous");
    run_result run = compile(dir, {write(dir, "c.md", good_contents), dir.file("missing.md")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.md:1: cannot be read"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(dir.file("out.hlp")), "previous");

    EXPECT_EQ(run_program({std::string(VS_BIN_DIR) + "/wynhc", dir.file("c.md")}, dir.path(), 10000).status, 1);
    EXPECT_EQ(run_program({std::string(VS_BIN_DIR) + "/wynhc", "-o", dir.file("x.hlp")}, dir.path(), 10000).status, 1);
}
