// The cache of native fonts in use: a bounded map from a mapping key (completed descriptor and
// resolution) to a shared native font, dropping the least recently used entry when full.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

class FontCache {
  public:
    // The entries kept for an ATTR_FONT_CACHE_SIZE value: 10 when it is 0 or below, else at
    // least 4.
    static size_t capacity_for(long attr_value);

    // The native font of key (now the most recently used), or null.
    std::shared_ptr<void> find(const std::string& key);
    // Stores value under key, dropping the least recently used entries beyond capacity. Fonts
    // that still hold a dropped native font keep it alive.
    void insert(const std::string& key, std::shared_ptr<void> value, size_t capacity);
    // Drops every entry.
    void clear();
    size_t size() const { return order_.size(); }

  private:
    using Entry = std::pair<std::string, std::shared_ptr<void>>;
    std::list<Entry> order_; // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};
