// An environment variable set or unset for a scope and put back as it was when the scope ends.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets name to value (or unsets it for a null value) and, on destruction, restores the value it
// had before, or unsets it again when it had none; so a failing assertion in between leaves no
// trace in later tests.
class scoped_env {
  public:
    scoped_env(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        set(value);
    }
    scoped_env(const char* name, const std::string& value) : scoped_env(name, value.c_str()) {}
    ~scoped_env() { set(previous_ ? previous_->c_str() : nullptr); }
    scoped_env(const scoped_env&) = delete;
    scoped_env& operator=(const scoped_env&) = delete;

    // Changes the value within the scope; the value before the scope is still what comes back.
    void set(const char* value) {
        if (value)
            setenv(name_.c_str(), value, 1);
        else
            unsetenv(name_.c_str());
    }

  private:
    std::string name_;
    std::optional<std::string> previous_;
};
