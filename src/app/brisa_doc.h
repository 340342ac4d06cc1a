// The document: Brisa keeps no data in it; it only gives the main window its title.
#pragma once
#include "framework/frame.h"

class CBrisaDoc : public fw::CDocument {
public:
    bool OnNewDocument() override {
        if (!CDocument::OnNewDocument())
            return false;
        SetTitle("Brisa Server");
        return true;
    }
};
