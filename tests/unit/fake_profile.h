// A profile in memory: keys by section, the writes in order, and a switch that fails every write.
#pragma once
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct FakeProfile {
    using Values = std::vector<std::pair<std::string, std::optional<std::string>>>;

    mutable std::map<std::string, std::string> values; // "Section.Key"
    mutable std::vector<std::string> written;          // "Section.Key=value", "Section.Key" gone
    bool writable = true;

    std::string GetString(const char* section, const char* key, const char* defaultValue) const {
        const auto found = values.find(std::string(section) + "." + key);
        return found == values.end() ? defaultValue : found->second;
    }
    int GetInt(const char* section, const char* key, int defaultValue) const {
        const std::string value = GetString(section, key, "");
        return value.empty() ? defaultValue : std::stoi(value);
    }
    std::vector<std::string> GetKeys(const char* section) const {
        const std::string prefix = std::string(section) + ".";
        std::vector<std::string> keys;
        for (const auto& [name, value] : values)
            if (name.compare(0, prefix.size(), prefix) == 0)
                keys.push_back(name.substr(prefix.size()));
        return keys;
    }
    bool WriteSections(const std::vector<std::pair<std::string, Values>>& sections) const {
        return std::all_of(sections.begin(), sections.end(), [&](const auto& section) {
            return Write(section.first.c_str(), section.second);
        });
    }
    bool Write(const char* section, const Values& pairs) const {
        if (!writable)
            return false;
        for (const auto& [key, value] : pairs) {
            const std::string name = std::string(section) + "." + key;
            written.push_back(value ? name + "=" + *value : name);
            if (value)
                values[name] = *value;
            else
                values.erase(name);
        }
        return true;
    }
};
