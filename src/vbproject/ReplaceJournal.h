#pragma once

#include <string>
#include <vector>

class CFileSink;

// Files of one folder replaced together, all or none, the way a database's rollback journal does
// it. Before the first file takes its place, a journal in the folder names each file and the
// backup name its earlier file is then kept under; the earlier files go to those names; only when
// every file is in place is the journal removed, and with it the backups. Until then Undo, or the
// next process's Recover after a kill or a power loss, puts every earlier file back and removes
// the files that had none. Only for a folder that no other process writes into now.
class CReplaceJournal {
public:
    // How Recover ended.
    enum class Recovery { kNothing, kUndone, kFailed };

    // sink (borrowed) does what the disk is asked; none is the real disk.
    CReplaceJournal(std::string folder, CFileSink* sink = nullptr);

    // Plans the replacement of the entry at path, in the folder.
    void Add(const std::string& path);
    // Writes the journal, through to the disk, then moves each planned entry that exists to its
    // backup name. False, with ErrorText, when a step fails; everything is then as it was.
    bool Begin();
    // Every planned entry is in place: removes the journal, then the backups. False, with
    // ErrorText, when the journal stays; call Undo.
    bool Commit();
    // Puts every earlier entry back, removes those that had none, then the journal. False, with
    // ErrorText naming what failed, when an entry could not be put back: the journal then stays for
    // the next conversion to finish the undo.
    bool Undo();
    const std::string& ErrorText() const { return errorText_; }
    const std::string& Folder() const { return folder_; }

    // Undoes the replacement whose journal a killed process left in folder, and removes backups
    // that a process killed after its replacement left. kFailed, with whyNot, when the journal
    // cannot be read or an entry not put back.
    static Recovery Recover(const std::string& folder, CFileSink* sink, std::string& whyNot);

private:
    struct Entry {
        std::string name;
        // Where the earlier entry is kept; empty when there was none.
        std::string backup;
    };

    std::string PathOf(const std::string& name) const;
    std::string JournalText() const;
    // Takes the entries from a journal's text; false when it is not one whole journal.
    bool ReadText(const std::string& text);
    bool WriteJournal();
    // Keeps the first failure, of what at path. Returns false.
    bool RemoveJournal();
    bool Fail(const std::string& what, const std::string& path, const std::string& reason);

    std::string folder_;
    CFileSink* sink_;
    std::vector<Entry> entries_;
    std::string errorText_;
};
