// A least-recently-used cache of native fonts.
#include "portable/font_cache.h"

size_t FontCache::capacity_for(long attr_value) {
    if (attr_value <= 0) return 10;
    return attr_value < 4 ? 4 : static_cast<size_t>(attr_value);
}

std::shared_ptr<void> FontCache::find(const std::string& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return it->second->second;
}

void FontCache::insert(const std::string& key, std::shared_ptr<void> value, size_t capacity) {
    auto it = index_.find(key);
    if (it != index_.end()) {
        it->second->second = std::move(value);
        order_.splice(order_.begin(), order_, it->second);
    } else {
        order_.emplace_front(key, std::move(value));
        index_[key] = order_.begin();
    }
    while (order_.size() > capacity && !order_.empty()) {
        index_.erase(order_.back().first);
        order_.pop_back();
    }
}

void FontCache::clear() {
    index_.clear();
    order_.clear();
}
