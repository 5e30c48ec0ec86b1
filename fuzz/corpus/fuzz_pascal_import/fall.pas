program Fall;
{ Kommentar } (* noch einer *)
var i, n: integer;
procedure Zeige(var x: integer; const y: integer);
begin
  writeln(x, y:3)
end;
begin
  // Eingabe
  readln(n);
  // Ende Eingabe
  case n of
    1, 2: writeln('klein; begin');
    3..9: for i := n downto 1 do write(i);
  else
    repeat n := n div 2 until n = 0
  end;
  Zeige(n, 4)
END.
