  x := 0;
  if x < 10 then
  begin
    y := x;
  end
  else
  begin
    y := 0;
  end;
  while x < 10 do
  begin
    x := x + 1;
  end;
  for i:=1 to 10 do
  begin
  end;
  repeat
    x := x - 1;
  until x = 0;
  repeat
    lies;
  until not (weiter);
  
  // Ausgabe
  writeln(x);
  // Ende Ausgabe

