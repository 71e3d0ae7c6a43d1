#include "support/SimulatedDiskModel.h"

#include <algorithm>
#include <chrono>

namespace kelvrast::testing {
namespace {

std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

SimulatedDiskModel::SimulatedDiskModel() {
    nodes_[0].folder = true;
}

void SimulatedDiskModel::settle() {
    for (auto& [number, node] : nodes_) {
        node.durable = node.current;
        node.unflushed.clear();
        node.durableEntries = node.entries;
    }
}

void SimulatedDiskModel::cutPowerAfter(std::size_t changes) {
    cutAt_ = changes_ + changes;
}

bool SimulatedDiskModel::change() {
    if (dead_ || (cutAt_ && changes_ == *cutAt_)) {
        dead_ = true;
        return false;
    }
    ++changes_;
    return true;
}

std::optional<int> SimulatedDiskModel::find(const std::filesystem::path& path) const {
    int at = 0;
    for (const std::filesystem::path& part : path.relative_path()) {
        const Node& node = nodes_.at(at);
        const auto entry = node.entries.find(part.string());
        if (!node.folder || entry == node.entries.end())
            return std::nullopt;
        at = entry->second;
    }
    return at;
}

std::optional<std::string> SimulatedDiskModel::bytesOf(const std::filesystem::path& file) const {
    const std::optional<int> node = find(file);
    if (!node || nodes_.at(*node).folder)
        return std::nullopt;
    return nodes_.at(*node).current;
}

void SimulatedDiskModel::makeDurableFolder(const std::filesystem::path& folder) {
    if (!find(folder))
        makeNode(find(folder.parent_path()).value(), folder.filename(), true);
    settle();
}

void SimulatedDiskModel::editedByStudent(const std::filesystem::path& file, const std::string& bytes) {
    Node& edited = nodes_.at(find(file).value());
    edited.durable = edited.current = bytes;
    edited.lastWrite = now() + 60'000'000'000;
}

int SimulatedDiskModel::makeNode(int folder, const std::filesystem::path& name, bool isFolder) {
    const int made = nextNode_++;
    nodes_[made].folder = isFolder;
    nodes_.at(folder).entries[name.string()] = made;
    return made;
}

namespace {

// What a grown file may read as where its data did not reach the disk: the bytes of some earlier file.
char oldByte(std::size_t at) {
    constexpr std::string_view old = "bytes a deleted file left on the disk\n";
    return old[at % old.size()];
}

} // namespace

std::size_t SimulatedDiskModel::unflushedChoices() const {
    std::size_t choices = 0;
    for (const auto& [number, node] : nodes_)
        choices += node.unflushed.size() + (node.durable.size() != node.current.size() ? 1 : 0) +
                   (node.durable.size() < node.current.size() ? 2 : 0) + (node.durableEntries != node.entries ? 1 : 0);
    return choices;
}

void SimulatedDiskModel::restart(PowerCutMode mode, const std::vector<bool>& kept) {
    std::size_t choice = 0;
    auto chosen = [&](bool whenNotChoosing) {
        if (mode != PowerCutMode::somePagesKept)
            return whenNotChoosing;
        const std::size_t at = choice++;
        return at < kept.size() && kept[at];
    };
    const bool grownKept = mode == PowerCutMode::grownWithZeros || mode == PowerCutMode::grownWithGarbage ||
                           mode == PowerCutMode::entriesLost || mode == PowerCutMode::killed;
    const bool bytesKept = mode == PowerCutMode::entriesLost || mode == PowerCutMode::killed;
    for (auto& [number, node] : nodes_) {
        const bool grown = node.durable.size() < node.current.size();
        std::size_t size = node.durable.size();
        if (node.durable.size() != node.current.size() && chosen(grownKept))
            size = node.current.size();
        // The size may have reached the disk part of the way through the write, and the rest reads as old bytes.
        if (grown && chosen(false) && size == node.current.size())
            size = node.durable.size() + (node.current.size() - node.durable.size()) / 2;
        const bool garbage = grown && chosen(mode == PowerCutMode::grownWithGarbage);
        std::string bytes = node.durable;
        for (std::size_t at = bytes.size(); at < size; ++at)
            bytes.push_back(garbage ? oldByte(at) : '\0');
        bytes.resize(size);
        for (const std::size_t sector : node.unflushed) {
            if (!chosen(bytesKept))
                continue;
            const std::size_t from = sector * sectorSize;
            const std::size_t to = std::min({from + sectorSize, bytes.size(), node.current.size()});
            if (from < to)
                bytes.replace(from, to - from, node.current, from, to - from);
        }
        node.durable = node.current = bytes;
        node.unflushed.clear();
        if (node.durableEntries != node.entries &&
            !chosen(mode == PowerCutMode::somePagesKept || mode == PowerCutMode::grownWithZeros ||
                    mode == PowerCutMode::grownWithGarbage || mode == PowerCutMode::killed))
            node.entries = node.durableEntries;
        node.durableEntries = node.entries;
        node.lockedBy = -1;
    }
    opens_.clear();
    nextOpen_ = 1000;
    changes_ = 0;
    cutAt_.reset();
    dead_ = false;
}

int SimulatedDiskModel::openNode(int node, bool append, unsigned rights) {
    opens_[nextOpen_] = Open{node, append, rights};
    return nextOpen_++;
}

SimulatedDiskModel::Open* SimulatedDiskModel::opened(int open) {
    const auto found = opens_.find(open);
    return found == opens_.end() ? nullptr : &found->second;
}

void SimulatedDiskModel::close(int open) {
    unlock(open);
    opens_.erase(open);
}

bool SimulatedDiskModel::lock(int open) {
    int& lockedBy = nodes_.at(opens_.at(open).node).lockedBy;
    if (lockedBy != -1 && lockedBy != open)
        return false;
    lockedBy = open;
    return true;
}

void SimulatedDiskModel::unlock(int open) {
    int& lockedBy = nodes_.at(opens_.at(open).node).lockedBy;
    if (lockedBy == open)
        lockedBy = -1;
}

std::size_t SimulatedDiskModel::readAt(int node, char* into, std::size_t size, std::uint64_t at) const {
    const std::string& bytes = nodes_.at(node).current;
    if (at >= bytes.size())
        return 0;
    const std::size_t count = std::min(size, bytes.size() - static_cast<std::size_t>(at));
    std::copy_n(bytes.data() + at, count, into);
    return count;
}

std::size_t SimulatedDiskModel::writeAt(Open& open, std::string_view bytes, std::optional<std::uint64_t> at) {
    if (bytes.empty())
        return 0;
    Node& node = nodes_.at(open.node);
    const std::size_t from = open.append ? node.current.size() : static_cast<std::size_t>(at.value_or(open.offset));
    if (node.current.size() < from + bytes.size())
        node.current.resize(from + bytes.size(), '\0');
    node.current.replace(from, bytes.size(), bytes);
    for (std::size_t sector = from / sectorSize; sector <= (from + bytes.size() - 1) / sectorSize; ++sector)
        node.unflushed.insert(sector);
    node.lastWrite = now();
    if (!at)
        open.offset = from + bytes.size();
    return bytes.size();
}

void SimulatedDiskModel::resize(int node, std::uint64_t size) {
    nodes_.at(node).current.resize(static_cast<std::size_t>(size), '\0');
    nodes_.at(node).lastWrite = now();
}

void SimulatedDiskModel::flushData(int number) {
    Node& node = nodes_.at(number);
    node.durable = node.current;
    node.unflushed.clear();
}

void SimulatedDiskModel::moveEntry(const std::filesystem::path& from, const std::filesystem::path& to) {
    Node& fromFolder = nodes_.at(find(from.parent_path()).value());
    const int moved = fromFolder.entries.at(from.filename().string());
    fromFolder.entries.erase(from.filename().string());
    nodes_.at(find(to.parent_path()).value()).entries[to.filename().string()] = moved;
}

void SimulatedDiskModel::removeEntry(const std::filesystem::path& path) {
    nodes_.at(find(path.parent_path()).value()).entries.erase(path.filename().string());
}

void SimulatedDiskModel::flushEntryOf(int flushed) {
    for (auto& [number, node] : nodes_)
        for (const auto& [name, entry] : node.entries)
            if (entry == flushed)
                node.durableEntries[name] = flushed;
}

void SimulatedDiskModel::flushEntries(int folder) {
    Node& node = nodes_.at(folder);
    node.durableEntries = node.entries;
}

} // namespace kelvrast::testing
