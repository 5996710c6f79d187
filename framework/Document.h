// CDocument: the base of a window's data object. The results window's document carries no data of its own; the
// class exists so that windows own a document the way the rest of the framework expects.
#pragma once

class CDocument {
public:
    CDocument() noexcept = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
};
