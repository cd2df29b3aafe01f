#pragma once
// torquil-db report mechanics DB --from dd.mm.yyyy --to dd.mm.yyyy [--csv]:
// each mechanic's contracts, labour, parts, share and pay over the period.
#include <QStringList>

namespace tools {

// `args`: what follows "report mechanics". Returns the exit status.
int mechanicsReportCommand(const QStringList& args);

}  // namespace tools
