#pragma once

#include <string>
#include <string_view>

#include "log/TextFile.h"

// One generated VB source file: created in a folder with a header filled with its VB name, then
// grown by the project builder, finished, and put in place. Until then it is written, flushed at
// every write, to a temporary file beside it: an earlier file of that name stays whole, and a
// link of that name is replaced rather than written through. Destroying an object that was not
// put in place removes its temporary file.
class CVBItem {
public:
    // encoder (borrowed) is the code page the file is written in; none writes UTF-8.
    explicit CVBItem(std::string name, CTextEncoder* encoder = nullptr);
    virtual ~CVBItem();

    // The disk the file goes to (borrowed), for the tests' failing disks; none is the real one.
    void SetSink(CFileSink* sink)
    {
        sink_ = sink;
        file_.SetSink(sink);
    }

    // Opens the file in folder and writes its header; false when the file could not be opened or
    // not every byte written, or an earlier file of its name may not be replaced (ErrorText says
    // why).
    virtual bool Create(const std::string& folder) = 0;
    // Appends text and flushes; false when the file is not open or not every byte was written.
    virtual bool WriteText(std::string_view text);
    // The file is whole: written through to the disk, waiting for TakePlace. False when it could
    // not be; the earlier entry of its name then stays as it was.
    bool Finish();
    // The finished file takes the place of any earlier entry of its name. False when it could
    // not; that entry then stays as it was.
    bool TakePlace();
    // Finish and TakePlace, for a file that is written alone.
    bool Complete();
    // The VB name, also the file's base name.
    virtual std::string GetName() const;
    // Where the file goes; empty before Create.
    const std::string& Path() const { return path_; }

    // Why the first failure happened ("cannot write <path>: <reason>"); empty when none did.
    const std::string& ErrorText() const { return errorText_; }

protected:
    // Opens path for replacing and writes header.
    bool OpenWithHeader(const std::string& path, std::string_view header);
    // Keeps the first failure's text: later ones mostly follow from it. Returns false.
    bool Fail(const std::string& text);
    // The disk given to SetSink; none is the real one.
    CFileSink* Sink() const { return sink_; }

private:
    CTextFile file_;
    CFileSink* sink_ = nullptr;
    std::string name_;
    std::string path_;
    std::string errorText_;
};
