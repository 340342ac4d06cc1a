#include "app/brisa_doc.h"

bool CBrisaDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    SetTitle("Brisa Server");
    return true;
}
