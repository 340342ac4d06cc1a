// The document: Brisa keeps no data in it; it only gives the main window its title.
#pragma once
#include "framework/frame.h"

#include <memory>

class CBrisaDoc : public fw::CDocument {
public:
    static std::unique_ptr<fw::CDocument> CreateObject() { return std::make_unique<CBrisaDoc>(); }
    bool OnNewDocument() override;
};
