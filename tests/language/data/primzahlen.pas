program Primzahlen;
{$mode objfpc}

var
  n, Zahl, Gefunden: Integer;

function IstPrim(const x: Integer): Boolean;
var
  Teiler: Integer;
begin
  Result := x >= 2;
  Teiler := 2;
  while Result and (Teiler * Teiler <= x) do
  begin
    if x mod Teiler = 0 then
      Result := False;
    Teiler := Teiler + 1;
  end;
end;

function Quersumme(x: Integer): Integer;
begin
  Quersumme := 0;
  while x > 0 do
  begin
    Quersumme := Quersumme + x mod 10;
    x := x div 10
  end
end;

procedure Zeile(Breite: Integer; Zeichen: Char);
var
  k: Integer;
begin
  for k := Breite div 2 to Breite do write(Zeichen);
  writeln;
end;

begin
  n := 30;
  Gefunden := 0;
  Zahl := 1;
  while Gefunden < 10 do
  begin
    Zahl := Zahl + 1;
    if IstPrim(Zahl) then
    begin
      Gefunden := Gefunden + 1; write(Zahl, ' ');
      if Quersumme(Zahl) > 9 then write('(', Quersumme(Zahl), ') ')
    end
  end;
  writeln;
  for n := 3 downto 1 do
    Zeile(n * 4, '*');
end.
