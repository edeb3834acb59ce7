#include "app/Document.h"

#include <filesystem>
#include <system_error>

void Document::SetFileName(std::string path) {
  if (path == fileName_) return;
  fileName_ = std::move(path);
  emit fileNameChanged();
  Changed();
}

LoadResult Document::Load(const std::string& path) {
  const LoadResult result = book_.Load(std::filesystem::path(path));
  if (result.Outcome == LoadOutcome::Loaded) {
    // A name from the command line is relative to where the program was
    // started; the label, save as and the recent files want the whole path.
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(std::filesystem::path(path), error);
    SetFileName(error ? path : whole.string());
    history_.Clear();  // the steps of the file that was open mean nothing in this one
  }
  Changed();
  return result;
}

SaveResult Document::Write(const std::string& path) {
  const SaveResult result = book_.Save(std::filesystem::path(path));
  if (result.Ok) {
    book_.Modified = false;
    history_.MarkSaved();  // undo and redo back to here need no save
    Changed();
  }
  return result;
}

void Document::Changed() {
  const bool canSave = CanSave();
  if (canSave == canSave_) return;
  canSave_ = canSave;
  emit canSaveChanged(canSave);
}
