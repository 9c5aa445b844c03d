an earlier header
