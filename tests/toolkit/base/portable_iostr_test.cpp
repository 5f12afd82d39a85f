// Byte streams over files and caller functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <wyn/iostr.h>

namespace {

struct Source {
    std::string data;
    size_t pos = 0;
};

long read_source(void* context, void* buf, long size) {
    auto* s = static_cast<Source*>(context);
    long n = std::min<long>(size, static_cast<long>(s->data.size() - s->pos));
    s->data.copy(static_cast<char*>(buf), n, s->pos);
    s->pos += n;
    return n;
}

long append_sink(void* context, const void* buf, long size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(buf), size);
    return size;
}

long lying_source(void*, void*, long size) {
    return size + 1;
}

TEST(Iostr, FunctionStreamsPassBytesAndKeepTheirContext) {
    Source source{"AB\xFF", 0};
    IOSTR in = wynv_iostr_create_read(read_source, &source);
    EXPECT_EQ(wynv_iostr_get_context(in), &source);
    EXPECT_EQ(wynv_iostr_getc(in), 'A');
    char buf[8];
    EXPECT_EQ(wynv_iostr_read(in, buf, sizeof buf), 2);
    EXPECT_EQ(static_cast<unsigned char>(buf[1]), 0xFF);
    EXPECT_EQ(wynv_iostr_getc(in), -1);
    EXPECT_FALSE(wynv_iostr_write(in, "x", 1));
    EXPECT_FALSE(wynv_iostr_rewind(in));
    wynv_iostr_destroy(in);

    std::string sink;
    IOSTR out = wynv_iostr_create_write(append_sink, &sink);
    EXPECT_TRUE(wynv_iostr_write(out, "hello", 5));
    EXPECT_EQ(wynv_iostr_read(out, buf, 1), -1);
    EXPECT_EQ(sink, "hello");
    wynv_iostr_destroy(out);

    IOSTR liar = wynv_iostr_create_read(lying_source, nullptr);
    EXPECT_EQ(wynv_iostr_read(liar, buf, 4), -1);
    wynv_iostr_destroy(liar);
}

TEST(Iostr, FileStreamsReadWriteAndRewind) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    IOSTR out = wynv_iostr_create_fwrite(file);
    EXPECT_TRUE(wynv_iostr_write(out, "xyz", 3));
    wynv_iostr_destroy(out);

    IOSTR in = wynv_iostr_create_fread(file);
    EXPECT_EQ(wynv_iostr_get_context(in), file);
    ASSERT_TRUE(wynv_iostr_rewind(in));
    char buf[8] = {};
    EXPECT_EQ(wynv_iostr_read(in, buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "xyz");
    EXPECT_EQ(wynv_iostr_read(in, buf, sizeof buf), 0);
    wynv_iostr_destroy(in);
    std::fclose(file);
    EXPECT_EQ(wynv_iostr_create_fread(nullptr), nullptr);
}

} // namespace
