// File-system helpers: path splitting and joining, directories, listings and attributes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "portable_reports.h"
#include <wyn/fsys.h>

namespace {

// Each test runs in a fresh temporary directory and returns to where it started.
class FsysTest : public testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/wyn_fsys_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    static void touch(const char* name) { std::fclose(std::fopen(name, "w")); }

    std::filesystem::path dir_;
    std::filesystem::path previous_;
    ReportCapture capture_;
};

struct Parts {
    char volume[WYN_SZ_FNAME + 1], directory[WYN_SZ_FNAME + 1], leaf[WYN_SZ_FNAME + 1],
        extension[WYN_SZ_FNAME + 1], version[WYN_SZ_FNAME + 1];
};

TEST(FsysPath, ParseAndBuildRoundTrip) {
    for (const char* path : {"/var/log/norva.dat", "norva.tar.gz", "/etc/", "/home/u/.profile",
                             "rel/dir/noext", "/"}) {
        Parts p;
        ASSERT_TRUE(
            wynk_fsys_parse_pathname(path, p.volume, p.directory, p.leaf, p.extension, p.version));
        char rebuilt[WYN_SZ_FNAME + 1];
        ASSERT_TRUE(wynk_fsys_build_pathname(rebuilt, sizeof rebuilt, p.volume, p.directory, p.leaf,
                                             p.extension, p.version));
        EXPECT_STREQ(rebuilt, path);
    }
    Parts p;
    wynk_fsys_parse_pathname("/a/b.tar.gz", p.volume, p.directory, p.leaf, p.extension, p.version);
    EXPECT_STREQ(p.directory, "/a/");
    EXPECT_STREQ(p.leaf, "b.tar");
    EXPECT_STREQ(p.extension, "gz");
    wynk_fsys_parse_pathname("/a/.profile", nullptr, nullptr, p.leaf, p.extension, nullptr);
    EXPECT_STREQ(p.leaf, ".profile");
    EXPECT_STREQ(p.extension, "");
}

TEST(FsysPath, LongPathsAreRefusedNotTruncated) {
    ReportCapture capture;
    std::string long_path(WYN_SZ_FNAME + 1, 'x');
    Parts p;
    EXPECT_FALSE(wynk_fsys_parse_pathname(long_path.c_str(), nullptr, p.directory, p.leaf, nullptr,
                                          nullptr));
    char out[WYN_SZ_FNAME + 1];
    std::string leaf(WYN_SZ_FNAME - 6, 'y'); // "/a/" + leaf + ".t" is 255 bytes
    EXPECT_TRUE(wynk_fsys_build_pathname(out, sizeof out, "", "/a", leaf.c_str(), "t", ""));
    EXPECT_FALSE(wynk_fsys_build_pathname(out, sizeof out, "", "/ab", leaf.c_str(), "t", ""));
    EXPECT_FALSE(wynk_fsys_build_pathname(out, 8, "", "/a", "name", "txt", ""));
    EXPECT_EQ(ReportCapture::reports().size(), 3u);
}

TEST(FsysPath, MakepathJoinsWithOneSeparatorAndLeavesAnEmptyDirectoryRelative) {
    FILE_SPEC file_spec = {};
    std::strcpy(file_spec.name, "norva.cfg");
    char path[WYN_SZ_FNAME + 1];
    ASSERT_TRUE(wynk_fsys_file_makepath(&file_spec, path, sizeof path));
    EXPECT_STREQ(path, "norva.cfg");
    std::strcpy(file_spec.dir.path, "/opt/norva/");
    ASSERT_TRUE(wynk_fsys_file_makepath(&file_spec, path, sizeof path));
    EXPECT_STREQ(path, "/opt/norva/norva.cfg");
    std::strcpy(file_spec.dir.path, "/opt");
    ASSERT_TRUE(wynk_fsys_file_makepath(&file_spec, path, sizeof path));
    EXPECT_STREQ(path, "/opt/norva.cfg");

    // 255 characters fit, 256 do not.
    ReportCapture capture;
    std::memset(file_spec.name, 'n', 250);
    file_spec.name[250] = '\0';
    EXPECT_TRUE(wynk_fsys_file_makepath(&file_spec, path, sizeof path)); // "/opt/" + 250
    std::strcpy(file_spec.dir.path, "/opt2");
    EXPECT_FALSE(wynk_fsys_file_makepath(&file_spec, path, sizeof path));
}

TEST_F(FsysTest, DirectoriesNormaliseSaveRestoreAndReturnToTheStartup) {
    DIRECTORY d;
    ASSERT_TRUE(wynk_fsys_convert_str_to_dir("/a//b/./c/../d/", &d));
    EXPECT_STREQ(d.path, "/a/b/d");
    ASSERT_TRUE(wynk_fsys_convert_str_to_dir("/..", &d));
    EXPECT_STREQ(d.path, "/");
    std::filesystem::create_directory("sub");
    ASSERT_TRUE(wynk_fsys_convert_str_to_dir("sub", &d));
    char text[WYN_SZ_FNAME + 1];
    ASSERT_TRUE(wynk_fsys_convert_dir_to_str(&d, text, sizeof text));
    EXPECT_EQ(std::filesystem::path(text), std::filesystem::canonical("sub"));
    EXPECT_FALSE(wynk_fsys_convert_dir_to_str(&d, text, 4));

    ASSERT_TRUE(wynk_fsys_save_dir());
    ASSERT_TRUE(wynk_fsys_set_dir(&d));
    ASSERT_TRUE(wynk_fsys_save_dir());
    ASSERT_TRUE(wynk_fsys_convert_str_to_dir("/", &d));
    ASSERT_TRUE(wynk_fsys_set_dir(&d));
    ASSERT_TRUE(wynk_fsys_restore_dir());
    EXPECT_EQ(std::filesystem::current_path().filename(), "sub");
    ASSERT_TRUE(wynk_fsys_restore_dir());
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir_));
    EXPECT_FALSE(wynk_fsys_restore_dir());

    ASSERT_TRUE(wynk_fsys_set_dir_startup());
    EXPECT_EQ(std::filesystem::current_path(), previous_);
}

std::vector<std::string> names(SLIST list, std::vector<long>* kinds = nullptr) {
    std::vector<std::string> out;
    for (SLIST_ELT e = wynv_slist_get_first(list); e; e = wynv_slist_get_next(list, e)) {
        long kind = 0;
        out.emplace_back(wynv_slist_get(list, e, &kind));
        if (kinds) kinds->push_back(kind);
    }
    wynv_slist_destroy(list);
    return out;
}

using Names = std::vector<std::string>;

TEST_F(FsysTest, ListingFiltersByTypeAndPatternAndSortsWithoutCase) {
    for (const char* f : {"b.LOG", "a.log", "C.log", "notes.txt", "log", ".log"}) touch(f);
    std::filesystem::create_directory("Dir.log");
    EXPECT_EQ(names(wynk_fsys_list_files("log", nullptr, FALSE)),
              (Names{"a.log", "b.LOG", "C.log"}));
    EXPECT_EQ(names(wynk_fsys_list_files(nullptr, "?.*", FALSE)),
              (Names{"a.log", "b.LOG", "C.log"}));
    EXPECT_EQ(names(wynk_fsys_list_files("txt", "*", FALSE)), (Names{"notes.txt"}));

    std::vector<long> kinds;
    EXPECT_EQ(names(wynk_fsys_list_files("txt", nullptr, TRUE), &kinds),
              (Names{"..", "/", "Dir.log", "notes.txt"}));
    EXPECT_EQ(kinds, (std::vector<long>{WYN_FSYS_ENTRY_DIR, WYN_FSYS_ENTRY_ROOT, WYN_FSYS_ENTRY_DIR,
                                        WYN_FSYS_ENTRY_FILE}));
}

TEST_F(FsysTest, AttributesQueryTheFileAndSetOnlyWhatFits) {
    std::FILE* f = std::fopen("data.bin", "w");
    std::fputs("12345", f);
    std::fclose(f);
    FILE_SPEC file_spec = {};
    ASSERT_TRUE(
        wynv_fsys_set_file_attr(&file_spec, WYN_FATTR_NAME, reinterpret_cast<long>("data.bin")));
    EXPECT_TRUE(wynk_fsys_file_exists(&file_spec));
    EXPECT_EQ(wynv_fsys_get_file_attr(&file_spec, WYN_FATTR_SIZE), 5);
    EXPECT_EQ(wynv_fsys_get_file_attr(&file_spec, WYN_FATTR_IS_DIR), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(wynv_fsys_get_file_attr(&file_spec, WYN_FATTR_NAME)),
                 "data.bin");
    ASSERT_TRUE(wynv_fsys_set_file_attr(&file_spec, WYN_FATTR_WRITABLE, FALSE));
    EXPECT_EQ(wynv_fsys_get_file_attr(&file_spec, WYN_FATTR_MODE) & S_IWUSR, 0);
    ASSERT_TRUE(wynv_fsys_set_file_attr(&file_spec, WYN_FATTR_WRITABLE, TRUE));

    ReportCapture::reports().clear();
    EXPECT_FALSE(
        wynv_fsys_set_file_attr(&file_spec, WYN_FATTR_TYPE, reinterpret_cast<long>("abcdef")));
    EXPECT_TRUE(
        wynv_fsys_set_file_attr(&file_spec, WYN_FATTR_TYPE, reinterpret_cast<long>("abcde")));
    EXPECT_EQ(wynv_fsys_get_file_attr(&file_spec, 15), -1);
    EXPECT_FALSE(wynv_fsys_set_file_attr(&file_spec, WYN_FATTR_SIZE, 0));
    EXPECT_EQ(ReportCapture::reports().size(), 3u);

    EXPECT_TRUE(wynv_fsys_rem_file(&file_spec));
    EXPECT_FALSE(wynk_fsys_file_exists(&file_spec));
    EXPECT_EQ(wynv_fsys_get_file_attr(&file_spec, WYN_FATTR_EXISTS), 0);
    EXPECT_EQ(wynv_fsys_get_file_attr(&file_spec, WYN_FATTR_SIZE), -1);
}

} // namespace
