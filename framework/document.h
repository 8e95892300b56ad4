#pragma once
// The document of a single-document application: created once at start-up,
// told when a new document begins (Ctrl+N), destroyed at exit.

class CDocument {
public:
    virtual ~CDocument() = default;
    // Called at start-up and for every new document; false stops the command.
    virtual bool OnNewDocument() { return true; }
};
