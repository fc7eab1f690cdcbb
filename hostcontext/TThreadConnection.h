#pragma once

class TAdoConn;

// While one lives, GetDefConnection on the thread that made it gives its
// connection instead of the registry's "Def": a worker thread runs the
// report's statements on a connection of its own, opened on that thread
// (a Qt SQL connection serves only the thread that opened it), and the
// other threads keep theirs. Scopes nest; the connection is not owned.
class TThreadConnection {
public:
    explicit TThreadConnection(TAdoConn* AConnection);
    ~TThreadConnection();
    TThreadConnection(const TThreadConnection&) = delete;
    TThreadConnection& operator=(const TThreadConnection&) = delete;

    // The connection of the innermost scope of the calling thread, or none.
    static TAdoConn* Current();

private:
    TAdoConn* FSaved;
};
