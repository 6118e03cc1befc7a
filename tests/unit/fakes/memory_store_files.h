// The lasting record's files in memory, for the store's tests and its fuzz target: files by
// path, folders, a rename of a folder that moves its files, a lock another companion may
// hold, and an append that a kill cuts short after a given number of its bytes (what Windows
// leaves of a write it did not finish: its first bytes, in order).
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "monitor/probe_store.h"

namespace zv::testing {

class MemoryStoreFiles : public monitor::StoreFilesPort {
  public:
    std::string local_app_data = "C:\\Users\\u\\AppData\\Local";
    std::set<std::string> folders;
    std::map<std::string, std::string> files;
    // The next append writes only this many of its bytes (all but its last at most), and fails.
    std::optional<std::size_t> cut_next_append;
    bool locked_elsewhere = false;
    std::set<std::string> unreadable;  // held open by another program

    std::string LocalAppDataFolder() override { return local_app_data; }
    bool CreateFolder(const std::string& path) override {
        folders.insert(path);
        return true;
    }
    std::vector<std::string> List(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files) {
            if (path.rfind(folder + "\\", 0) == 0 &&
                path.find('\\', folder.size() + 1) == std::string::npos) {
                names.push_back(path.substr(folder.size() + 1));
            }
        }
        return names;
    }
    std::optional<std::string> Read(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) {
            return std::nullopt;
        }
        return it->second;
    }
    bool Append(const std::string& path, const std::string& bytes) override {
        if (cut_next_append) {
            files[path] += bytes.substr(0, std::min(*cut_next_append, bytes.size() - 1));
            cut_next_append.reset();
            return false;
        }
        files[path] += bytes;
        return true;
    }
    bool Truncate(const std::string& path, uint64_t size) override {
        auto it = files.find(path);
        if (it == files.end()) {
            return false;
        }
        it->second.resize(size);
        return true;
    }
    bool Remove(const std::string& path) override { return files.erase(path) == 1; }
    bool Rename(const std::string& from, const std::string& to) override {
        if (folders.count(to) || files.count(to) || !folders.count(from)) {
            return false;
        }
        std::map<std::string, std::string> moved;
        for (auto it = files.begin(); it != files.end();) {
            if (it->first.rfind(from + "\\", 0) == 0) {
                moved[to + it->first.substr(from.size())] = it->second;
                it = files.erase(it);
            } else {
                ++it;
            }
        }
        files.insert(moved.begin(), moved.end());
        folders.erase(from);
        folders.insert(to);
        return true;
    }
    bool Lock(const std::string&) override { return !locked_elsewhere; }

    // The folder of the record and the path of its file numbered `number`.
    std::string History() const { return local_app_data + "\\Zorvane\\Vigilo\\History"; }
};

}  // namespace zv::testing
