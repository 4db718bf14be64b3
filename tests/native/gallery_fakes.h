// An in-memory folder tree and gallery for driving the library scan without a file system.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gallery/scan.h"

namespace coiffure::testing {

using Bytes = std::shared_ptr<const std::vector<uint8_t>>;

inline Bytes BmpOf(int w, int h, Bgr fill) {
  return std::make_shared<const std::vector<uint8_t>>(Picture::Create24(w, h, fill).EncodeBmp24());
}

struct Node {
  std::string name;
  uint32_t attributes = kAttrArchive;
  Bytes content;  // files only; null for a file that vanished after being listed
  // Folders only.
  std::vector<std::shared_ptr<Node>> children;  // in directory order
  std::string id;                               // identity; empty when it cannot be told
  bool enterable = true;
  Node* link = nullptr;  // a junction: entering it enters this folder instead

  Node* AddFolder(const std::string& n, const std::string& folder_id) {
    auto c = std::make_shared<Node>();
    c->name = n;
    c->attributes = kAttrDirectory;
    c->id = folder_id;
    children.push_back(c);
    return c.get();
  }
  Node* AddFile(const std::string& n, Bytes b, uint32_t attrs = kAttrArchive) {
    auto c = std::make_shared<Node>();
    c->name = n;
    c->attributes = attrs;
    c->content = std::move(b);
    children.push_back(c);
    return c.get();
  }
  Node* AddLink(const std::string& n, Node* target) {
    Node* c = AddFolder(n, "");
    c->link = target;
    return c;
  }
};

inline bool EndsWithBmpAnyCase(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".bmp";
}

class FakeDirectory : public DirectoryPort {
 public:
  explicit FakeDirectory(Node* root) { path_.push_back({root, root}); }

  std::unique_ptr<DirectorySearch> Search(const std::string& pattern, uint32_t mask) override {
    patterns.push_back(pattern);
    masks.push_back(mask);
    struct S : DirectorySearch {
      std::vector<DirEntry> entries;
      size_t next = 0;
      bool Next(DirEntry& e) override {
        if (next >= entries.size()) return false;
        e = entries[next++];
        return true;
      }
    };
    auto s = std::make_unique<S>();
    for (const auto& c : Current()->children)
      if (EndsWithBmpAnyCase(c->name) && AttributesPass(c->attributes, mask))
        s->entries.push_back({c->name, c->attributes});
    return s;
  }

  bool ChangeFolder(const std::string& relative) override {
    ++change_calls[relative];
    if (relative == "..") {
      if (fail_up || path_.size() < 2) return false;
      path_.pop_back();
      return true;
    }
    for (const auto& c : Current()->children) {
      if (c->name != relative || !(c->attributes & kAttrDirectory) || !c->enterable) continue;
      path_.push_back({c.get(), c->link ? c->link : c.get()});
      max_depth = std::max(max_depth, static_cast<int>(path_.size()) - 1);
      return true;
    }
    return false;
  }

  std::string CurrentFolderId() override { return Current()->id; }

  void LoadPicture(const std::string& name, Picture& picture) override {
    ++loads;
    for (const auto& c : Current()->children)
      if (c->name == name && !(c->attributes & kAttrDirectory) && c->content) {
        picture.LoadFromBytes(*c->content);
        return;
      }
    throw PictureError(CannotOpenMessage(name));
  }

  // The current folder as the names used to reach it, "" at the root.
  std::string Where() const {
    std::string s;
    for (size_t i = 1; i < path_.size(); ++i) s += (i > 1 ? "/" : "") + path_[i].via->name;
    return s;
  }

  std::vector<std::string> patterns;
  std::vector<uint32_t> masks;
  std::map<std::string, int> change_calls;
  int loads = 0;
  int max_depth = 0;
  bool fail_up = false;

 private:
  struct Step {
    Node* via;     // the entry used to get here
    Node* folder;  // the folder it leads to
  };
  Node* Current() const { return path_.back().folder; }
  std::vector<Step> path_;
};

class FakeGallery : public GalleryPort {
 public:
  void SetBackgroundColor(uint32_t c) override { log.push_back("bk " + std::to_string(c)); }
  void AddThumbnail(const Thumbnail& t) override {
    log.push_back("thumb");
    // The colour at (0, 0) identifies the picture a cell came from.
    cell_colour.push_back(t.image.PixelBgr(0, 0));
    if (keep_cells) cells.push_back(t);
  }
  int ThumbnailCount() override { return static_cast<int>(cell_colour.size()); }
  int AddEntry(const std::string& caption) override {
    log.push_back("entry " + caption);
    captions.push_back(caption);
    image_index.push_back(0);
    return static_cast<int>(captions.size()) - 1;
  }
  void SetImageIndex(int entry, int image) override {
    ASSERT_GE(entry, 0);
    ASSERT_LT(entry, EntryCount());
    image_index[static_cast<size_t>(entry)] = image;
  }
  int EntryCount() override { return static_cast<int>(captions.size()); }

  std::vector<std::string> log;
  std::vector<std::string> captions;
  std::vector<int> image_index;
  std::vector<Bgr> cell_colour;
  std::vector<Thumbnail> cells;
  bool keep_cells = true;
};

}  // namespace coiffure::testing
