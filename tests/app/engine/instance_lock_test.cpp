// The one-instance lock: one holder at a time, across processes, released with its holder.
#include "engine/instance_lock.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class instance_lock_test : public ::testing::Test {
  protected:
    void SetUp() override {
        char templ[] = "/tmp/vs_lock_XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir_ = templ;
        path_ = dir_ + "/" + INSTANCE_LOCK_FILE;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Tries the lock in a child process: 0 when it was taken, 1 when held elsewhere, 2 otherwise.
    int lock_in_child() const {
        const pid_t pid = fork();
        if (pid == 0) {
            instance_lock lock(path_);
            _exit(lock.held() ? 0 : lock.taken_elsewhere() ? 1 : 2);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string dir_;
    std::string path_;
};

TEST_F(instance_lock_test, a_second_process_cannot_take_a_held_lock) {
    instance_lock first(path_);
    ASSERT_TRUE(first.held());
    EXPECT_FALSE(first.taken_elsewhere());
    EXPECT_EQ(lock_in_child(), 1);
}

TEST_F(instance_lock_test, the_lock_is_free_again_once_its_holder_is_gone) {
    {
        instance_lock first(path_);
        ASSERT_TRUE(first.held());
        instance_lock second(path_);
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(second.taken_elsewhere());
    }
    EXPECT_EQ(lock_in_child(), 0);
    instance_lock again(path_);
    EXPECT_TRUE(again.held());
}

TEST_F(instance_lock_test, a_file_that_cannot_be_made_is_not_taken_for_another_instance) {
    instance_lock lock(dir_ + "/missing/" + INSTANCE_LOCK_FILE);
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(lock.taken_elsewhere());
}

} // namespace
