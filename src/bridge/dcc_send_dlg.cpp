#include "view/brisa_view.h"

void CBrisaView::OnDcc() {}
